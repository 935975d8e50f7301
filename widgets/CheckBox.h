#pragma once
// A tick box that toggles when clicked.
#include "widgets/Control.h"

class TCheckBox : public TControl {
public:
  explicit TCheckBox(std::wstring caption = L"") : FCaption(std::move(caption)) {}
  bool Checked() const;
  void SetChecked(bool checked);

protected:
  HWND CreateWnd(HWND parent, int id, const RECT& rect) override;

private:
  std::wstring FCaption;
};
