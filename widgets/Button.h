#pragma once
// A push button. With a style active it is drawn in the style (owner-drawn); its text stays
// the window text, so readers of the window tree see it.
#include "widgets/Control.h"
#include <functional>

class TButton : public TSystemControl {
public:
  explicit TButton(std::wstring caption = L"") : FCaption(std::move(caption)) {}
  void SetCaption(const std::wstring& caption);
  const std::wstring& Caption() const { return FCaption; }
  std::function<void()> OnClick;
  // Marks the button as the default (Enter) button of its window.
  bool Default = false;

  bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
  TWindowArgs WindowArgs() const override;
  LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  std::wstring FCaption;
  bool FHot = false;
};
