#pragma once
// A label: shows its text on its parent's face and sizes itself to the text.
#include "widgets/Control.h"

class TLabel : public TSystemControl {
public:
  explicit TLabel(std::wstring caption = L"") : FCaption(std::move(caption)) {}
  void SetCaption(const std::wstring& caption);
  const std::wstring& Caption() const { return FCaption; }
  void ApplyDpi(int dpi) override;
  bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
  TWindowArgs WindowArgs() const override;
  void AfterCreate() override { AutoSize(); }

private:
  // Width and height follow the text in the label's font (bounds stay in 96-dpi units).
  void AutoSize();
  std::wstring FCaption;
};
