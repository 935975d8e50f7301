#include "widgets/GaugeAccessible.h"

namespace {

std::wstring WindowTextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A number answer about the gauge itself.
HRESULT Number(long number, VARIANT* out) {
  out->vt = VT_I4;
  out->lVal = number;
  return S_OK;
}

} // namespace

void TGaugeAccessible::NotifyValueChange(HWND gauge) {
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, gauge, OBJID_CLIENT, CHILDID_SELF);
}

HRESULT TGaugeAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (!Window() || !IsSelf(child)) return TNamedAccessible::get_accValue(child, value);
  if (!value) return E_POINTER;
  *value = AccessibleText(WindowTextOf(Window()));
  return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT TGaugeAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!Window() || !IsSelf(child)) return TNamedAccessible::get_accRole(child, role);
  if (!role) return E_POINTER;
  return Number(ROLE_SYSTEM_PROGRESSBAR, role);
}

HRESULT TGaugeAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!Window() || !IsSelf(child)) return TNamedAccessible::get_accState(child, state);
  if (!state) return E_POINTER;
  return Number(STATE_SYSTEM_READONLY | (IsWindowVisible(Window()) ? 0 : STATE_SYSTEM_INVISIBLE),
                state);
}
