// The message box and the error report give back every window they disabled, however they end:
// closed by the operator, or failing to be built. Their parts are where the layout puts them.
#include "WinTestSupport.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Dpi.h"
#include "widgets/MessageDialog.h"
#include "widgets/pure/MessageBoxLayout.h"
#include <gtest/gtest.h>
#include <cwchar>
#include <ostream>
#include <string>

std::ostream& operator<<(std::ostream& out, const TBounds& r) {
  return out << "{" << r.Left << ", " << r.Top << ", " << r.Width << ", " << r.Height << "}";
}

namespace {

using wintest::THostForm;
using wintest::TMessageBoxCloser;

std::wstring Repeated(const std::wstring& text, int times) {
  std::wstring all;
  for (int i = 0; i < times; ++i)
    all += text;
  return all;
}

TBounds PixelRect(const RECT& r) {
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

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

struct TLayoutCase {
  const char* Name;
  std::wstring Text;
  TMessageIcon Icon;
};
void PrintTo(const TLayoutCase& c, std::ostream* out) {
  *out << c.Name;
}

class MessageDialogLayout : public MessageDialogTest,
                            public ::testing::WithParamInterface<TLayoutCase> {};

// The box as shown: the client area, the icon, the text and the "OK" button where
// MessageBoxLayout puts them for the text as the box measured it, and the box at the centre of
// the work area.
TEST_P(MessageDialogLayout, ThePartsSitWhereTheLayoutPutsThem) {
  TMessageBoxCloser closer;
  ShowMessageDialog(GetParam().Text, GetParam().Icon);
  closer.Join();
  ASSERT_TRUE(closer.Found());

  TBounds icon, text, button;
  int texts = 0, icons = 0, buttons = 0;
  for (const TMessageBoxCloser::TPart& part : closer.Parts()) {
    if (lstrcmpiW(part.ClassName.c_str(), L"Button") == 0) {
      EXPECT_EQ(part.Text, L"OK");
      button = PixelRect(part.Bounds);
      ++buttons;
    } else if (part.Text.empty()) {
      icon = PixelRect(part.Bounds);
      ++icons;
    } else {
      EXPECT_EQ(part.Text, GetParam().Text);
      text = PixelRect(part.Bounds);
      ++texts;
    }
  }
  const bool stop = GetParam().Icon == TMessageIcon::Stop;
  EXPECT_EQ(texts, 1);
  EXPECT_EQ(icons, stop ? 1 : 0);
  EXPECT_EQ(buttons, 1);

  const int dpi = DpiOf(nullptr);
  // The run at 144 dpi says so, lest it pass at 96.
  wchar_t expected[8] = {};
  if (GetEnvironmentVariableW(L"REPLIMAR_EXPECT_DPI", expected, 8)) {
    EXPECT_EQ(dpi, std::wcstol(expected, nullptr, 10));
  }
  const TMessageBoxLayout layout =
      MessageBoxLayout(text.Width, text.Height, stop ? GetSystemMetrics(SM_CXICON) : 0, dpi);
  EXPECT_EQ(closer.Client().right, layout.ClientWidth);
  EXPECT_EQ(closer.Client().bottom, layout.ClientHeight);
  EXPECT_EQ(text, layout.Text);
  EXPECT_EQ(button, layout.Button);
  EXPECT_EQ(icon, layout.Icon);
  // At least the least width, and wrapped at half the screen's width.
  EXPECT_GE(text.Width, Scale(120, dpi));
  EXPECT_LE(text.Width, GetSystemMetrics(SM_CXSCREEN) / 2);

  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const TBounds window = PixelRect(closer.Window());
  EXPECT_EQ(window, CentreInWorkArea(PixelRect(work), window.Width, window.Height));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageDialogLayout,
    ::testing::Values(
        TLayoutCase{"Short", L"Pasta inexistente!", TMessageIcon::None},
        TLayoutCase{"OneLine", L"Selecione a pasta de origem e destino.", TMessageIcon::None},
        TLayoutCase{"Wrapped",
                    Repeated(L"As pastas de origem e destino n\u00e3o podem ser a mesma. ", 12),
                    TMessageIcon::None},
        TLayoutCase{"Stop", L"Invalid data type for 'storage_Origem'", TMessageIcon::Stop}),
    [](const ::testing::TestParamInfo<TLayoutCase>& info) { return std::string(info.param.Name); });

} // namespace
