// The message box and the error report give back every window they disabled, however they end:
// closed by the operator, or failing to be built.
#include "WinTestSupport.h"
#include "funcoes/pure/Exception.h"
#include "widgets/MessageDialog.h"
#include <gtest/gtest.h>
#include <string>

namespace {

using wintest::THostForm;

// While it lives, windows of one class cannot be created on this thread (as when the system
// runs out of window handles).
class TRefusedClass {
public:
  explicit TRefusedClass(const wchar_t* className) {
    gClassName = className;
    FHook = SetWindowsHookExW(WH_CBT, Refuse, nullptr, GetCurrentThreadId());
  }
  ~TRefusedClass() {
    if (FHook) UnhookWindowsHookEx(FHook);
    gClassName = nullptr;
  }
  TRefusedClass(const TRefusedClass&) = delete;
  TRefusedClass& operator=(const TRefusedClass&) = delete;
  bool Active() const { return FHook != nullptr; }

private:
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && gClassName) {
      const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
      if (!IS_INTRESOURCE(create->lpszClass) && lstrcmpiW(create->lpszClass, gClassName) == 0)
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline const wchar_t* gClassName = nullptr;
  HHOOK FHook = nullptr;
};

class MessageDialogTest : public ::testing::Test {
protected:
  void SetUp() override { FHost.ShowPlain(); }
  bool HostEnabled() { return IsWindowEnabled(FHost.Form().Handle()) != FALSE; }
  THostForm FHost;
};

// The box's window, or its "OK" button, cannot be created: the call raises, and the window it
// disabled takes input again.
class MessageDialogBuildFailure : public MessageDialogTest,
                                  public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(MessageDialogBuildFailure, TheMessageBoxRaisesAndGivesTheWindowBack) {
  TRefusedClass refused(GetParam());
  ASSERT_TRUE(refused.Active());
  EXPECT_THROW(ShowMessageDialog(L"Selecione a pasta de origem e destino.", TMessageIcon::None),
               Exception);
  EXPECT_TRUE(HostEnabled());
}

TEST_P(MessageDialogBuildFailure, TheErrorReportGivesTheWindowBack) {
  TRefusedClass refused(GetParam());
  ASSERT_TRUE(refused.Active());
  Application.HandleException(std::make_exception_ptr(Exception(L"falha")));
  EXPECT_TRUE(HostEnabled());
}

INSTANTIATE_TEST_SUITE_P(Classes, MessageDialogBuildFailure,
                         ::testing::Values(L"ReplimarMessage", L"BUTTON"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return std::wstring(info.param) == L"BUTTON" ? std::string("Button")
                                                                        : std::string("Box");
                         });

} // namespace
