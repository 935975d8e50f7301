#pragma once
// A tick box that toggles when clicked.
#include "widgets/Control.h"

class TCheckBox : public TSystemControl {
public:
  explicit TCheckBox(std::wstring caption = L"") : FCaption(std::move(caption)) {}
  bool Checked() const;
  void SetChecked(bool checked);

protected:
  TWindowArgs WindowArgs() const override;

private:
  std::wstring FCaption;
};
