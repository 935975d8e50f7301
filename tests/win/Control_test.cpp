// Buttons, labels, panels and the tick box: clicks reach the handler (and a handler's error
// reaches the error report), labels size themselves to their text, panels hold widgets.
#include "WinTestSupport.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/Label.h"
#include "widgets/DirectoryListBox.h"
#include "widgets/FileListBox.h"
#include "widgets/Gauge.h"
#include "widgets/Memo.h"
#include "widgets/Panel.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using wintest::Narrow;
using wintest::THostForm;
using wintest::TMessageBoxCloser;

std::wstring WindowText(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

class ControlsTest : public ::testing::Test {
protected:
  void SetUp() override { FHost.ShowPlain(); }
  THostForm FHost;
};

TEST_F(ControlsTest, AClickRunsTheButtonsHandlerOnce) {
  TButton button(L"Sincronizar Agora");
  button.SetBounds({10, 10, 120, 28});
  button.Create(FHost.Form());
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  EXPECT_EQ(WindowText(button.Handle()), L"Sincronizar Agora");
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  // A button without a handler can be clicked too.
  button.OnClick = nullptr;
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
}

struct TErrorCase {
  const char* Name;
  void (*Raise)();
  const wchar_t* Shown;
};

class ButtonErrorTest : public ControlsTest, public ::testing::WithParamInterface<TErrorCase> {};

TEST_P(ButtonErrorTest, AHandlersErrorIsReportedAndTheWindowGoesOn) {
  TButton button(L"Interromper");
  button.SetBounds({10, 10, 120, 28});
  button.Create(FHost.Form());
  int clicks = 0;
  button.OnClick = [&] {
    if (++clicks == 1) GetParam().Raise();
  };
  {
    TMessageBoxCloser closer;
    SendMessageW(button.Handle(), BM_CLICK, 0, 0); // returns once the report is closed
    closer.Join();
    ASSERT_TRUE(closer.Found()) << "no error report shown";
    EXPECT_EQ(closer.Text(), GetParam().Shown) << Narrow(closer.Text());
  }
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(IsWindowEnabled(FHost.Form().Handle())) << "the window stayed disabled";
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ButtonErrorTest,
    ::testing::Values(
        // The report adds a full stop after a letter, not after "." or "!".
        TErrorCase{"Plain", [] { throw Exception(L"Unable to create directory\r\n[]"); },
                   L"Unable to create directory\r\n[]."},
        TErrorCase{"EndsWithStop", [] { throw EInOutError(L"Pasta inexistente!"); },
                   L"Pasta inexistente!"},
        TErrorCase{"Runtime", [] { throw std::runtime_error("boom"); }, L"boom."},
        // The runtime's 8-bit text arrives as the characters it holds, not byte by byte.
        TErrorCase{"RuntimeNonAscii",
                   [] { throw std::runtime_error("N\xc3\xa3o h\xc3\xa1 pasta"); },
                   L"N\u00e3o h\u00e1 pasta."}),
    [](const ::testing::TestParamInfo<TErrorCase>& info) { return std::string(info.param.Name); });

TEST_F(ControlsTest, ALabelSizesItselfToItsText) {
  TLabel label(L"Status");
  label.SetBounds({10, 10, 1, 1});
  label.Create(FHost.Form());
  const auto measure = [&](const std::wstring& text) {
    const TWindowDc dc(label.Handle());
    const TSelectObject font(dc.Get(), label.FontHandle());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
  };
  const auto windowSize = [&] {
    RECT r;
    GetWindowRect(label.Handle(), &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  const SIZE shortSize = windowSize();
  EXPECT_EQ(shortSize.cx, measure(L"Status").cx);
  EXPECT_GT(shortSize.cy, 1);
  const std::wstring status = L"Status: Aguardando altera\u00e7\u00f5es...";
  label.SetCaption(status);
  EXPECT_EQ(WindowText(label.Handle()), status);
  EXPECT_EQ(label.Caption(), status);
  const SIZE longSize = windowSize();
  EXPECT_EQ(longSize.cx, measure(status).cx);
  EXPECT_GT(longSize.cx, shortSize.cx);
  EXPECT_EQ(longSize.cy, shortSize.cy);
  // A shorter text shrinks it again.
  label.SetCaption(L"St");
  EXPECT_EQ(windowSize().cx, measure(L"St").cx);
}

TEST_F(ControlsTest, APanelHoldsItsWidgets) {
  TPanel panel;
  panel.SetBounds({0, 0, 300, 100});
  panel.Create(FHost.Form());
  TButton button(L"Folder Origem");
  button.SetBounds({20, 30, 100, 25});
  button.Create(panel);
  EXPECT_EQ(GetParent(button.Handle()), panel.Handle());
  EXPECT_EQ(button.Parent(), &panel);
  // The child's place is relative to the panel.
  RECT inPanel;
  GetWindowRect(button.Handle(), &inPanel);
  MapWindowPoints(nullptr, panel.Handle(), reinterpret_cast<POINT*>(&inPanel), 2);
  EXPECT_EQ(inPanel.left, 20);
  EXPECT_EQ(inPanel.top, 30);
  // A click inside a panel still reaches the button's handler.
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, TheTickBoxTogglesWhenClicked) {
  TCheckBox box(L"Sync");
  box.SetBounds({10, 60, 120, 20});
  box.Create(FHost.Form());
  EXPECT_FALSE(box.Checked());
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box.Checked());
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box.Checked());
  box.SetChecked(true);
  EXPECT_TRUE(box.Checked());
}

// Every kind of widget lets go of its handle when its window is destroyed with its parent: the
// program's own classes, subclassed system controls and plain ones alike.
TEST_F(ControlsTest, EveryWidgetForgetsItsWindowOnceItIsGone) {
  TPanel panel;
  panel.SetBounds({0, 0, 300, 200});
  panel.Create(FHost.Form());
  TPanel inner;
  TButton button(L"OK");
  TLabel label(L"Status");
  TCheckBox box(L"Sync");
  TMemo memo;
  TFileListBox files;
  TDirectoryListBox folders;
  TGauge gauge;
  std::vector<std::pair<const char*, TControl*>> widgets = {
      {"panel", &inner}, {"button", &button},   {"label", &label},         {"tick box", &box},
      {"memo", &memo},   {"file list", &files}, {"folder list", &folders}, {"gauge", &gauge}};
  int top = 0;
  for (auto& [name, widget] : widgets) {
    widget->SetBounds({0, top, 100, 20});
    widget->Create(panel);
    top += 22;
    ASSERT_NE(nullptr, widget->Handle()) << name;
  }
  DestroyWindow(panel.Handle());
  EXPECT_EQ(nullptr, panel.Handle());
  for (auto& [name, widget] : widgets)
    EXPECT_EQ(nullptr, widget->Handle()) << name;
}

} // namespace
