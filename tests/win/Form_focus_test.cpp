// The form's own focus moves: WM_NEXTDLGCTL (the dialog keys' request) goes round the tab stops
// in both directions, or to a given widget when that one is a tab stop.
#include "WinTestSupport.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include <gtest/gtest.h>

namespace {

using wintest::THostForm;

class FormFocus : public ::testing::Test {
protected:
  void SetUp() override {
    int left = 10;
    for (TButton* button : {&FFirst, &FSecond, &FThird}) {
      button->SetBounds({left, 10, 80, 25});
      button->Create(FHost.Form());
      left += 90;
    }
    FLabel.SetBounds({10, 50, 0, 13});
    FLabel.Create(FHost.Form());
    FHost.ShowPlain();
    SetFocus(FFirst.Handle());
    ASSERT_EQ(FFirst.Handle(), GetFocus());
  }
  void Next(bool previous) {
    SendMessageW(FHost.Form().Handle(), WM_NEXTDLGCTL, previous ? 1 : 0, FALSE);
  }
  THostForm FHost;
  TButton FFirst{L"Um"}, FSecond{L"Dois"}, FThird{L"Tr\u00eas"};
  TLabel FLabel{L"r\u00f3tulo"};
};

TEST_F(FormFocus, NextAndPreviousGoRoundTheTabStops) {
  const HWND forward[] = {FSecond.Handle(), FThird.Handle(), FFirst.Handle()};
  for (HWND expected : forward) {
    Next(false);
    EXPECT_EQ(expected, GetFocus());
  }
  const HWND backward[] = {FThird.Handle(), FSecond.Handle(), FFirst.Handle()};
  for (HWND expected : backward) {
    Next(true);
    EXPECT_EQ(expected, GetFocus());
  }
}

TEST_F(FormFocus, AGivenWidgetTakesTheFocusOnlyWhenItIsATabStop) {
  SendMessageW(FHost.Form().Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(FThird.Handle()),
               TRUE);
  EXPECT_EQ(FThird.Handle(), GetFocus());
  SendMessageW(FHost.Form().Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(FLabel.Handle()),
               TRUE);
  EXPECT_EQ(FThird.Handle(), GetFocus()) << "a label takes no focus";
}

} // namespace
