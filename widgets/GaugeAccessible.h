#pragma once
// The gauge as a screen reader sees it: a progress bar named "Progresso" whose value is the
// percentage it shows ("60%"). The value is the gauge window's text, which the gauge keeps
// equal to the percentage it draws. Everything else (parent, location, hit test, ...) is the
// system's object of its client area, as for the other widgets.
#include "widgets/NamedAccessible.h"

inline constexpr wchar_t kGaugeAccessibleName[] = L"Progresso";

class TGaugeAccessible : public TNamedAccessible {
public:
  // Raises Exception when the system's object cannot be had.
  explicit TGaugeAccessible(HWND gauge) : TNamedAccessible(gauge, kGaugeAccessibleName) {}

  // Tells readers that the value changed (EVENT_OBJECT_VALUECHANGE on the client area).
  static void NotifyValueChange(HWND gauge);

  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
};
