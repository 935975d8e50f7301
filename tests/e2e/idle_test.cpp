// The buttons and the tick box while no mirror run is in progress, and the end of the program.
#include "tests/e2e/Operator.h"
#include <memory>
#include <gtest/gtest.h>

namespace {

using e2e::TOperator;
using e2e::TWidgetState;
using e2e::Utf8;

const std::wstring kClearLog = L"Limpar Log";
const std::wstring kStop = L"Interromper";
const std::wstring kTickBox = L"Habilitar sincronismo automatico";

class IdleTest : public ::testing::Test {
protected:
  void SetUp() override {
    e2e::ForgetStoredFolders();
    FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH);
    ASSERT_TRUE(FApp->Started()) << Utf8(FApp->Failure());
    ASSERT_NE(nullptr, FApp->LogPane());
    ASSERT_NE(nullptr, FApp->Gauge());
  }
  void TearDown() override {
    if (FApp && FApp->Running()) {
      EXPECT_EQ(0u, FApp->Close()) << "exit code after WM_CLOSE";
    }
  }

  std::vector<TWidgetState> Screen() const { return e2e::Snapshot(FApp->MainWindow()); }

  // The main window is the only window the program shows: no message box, no error report.
  void ExpectOnlyTheMainWindow() const {
    const std::vector<HWND> windows = FApp->TopLevelWindows();
    for (HWND window : windows) {
      if (window != FApp->MainWindow())
        ADD_FAILURE() << "unexpected window " << Utf8(e2e::ClassOf(window)) << " \""
                      << Utf8(e2e::WindowText(window)) << "\" saying \""
                      << Utf8(e2e::MessageText(window)) << "\"";
    }
    EXPECT_TRUE(IsWindowVisible(FApp->MainWindow()));
    EXPECT_TRUE(IsWindowEnabled(FApp->MainWindow())) << "a modal box would disable it";
  }

  std::unique_ptr<TOperator> FApp;
};

TEST_F(IdleTest, StartsWithAnEmptyLogPaneAndTheGaugeAtZero) {
  EXPECT_EQ(L"", FApp->LogText());
  EXPECT_EQ(L"0%", FApp->GaugeText());
  EXPECT_EQ(BST_UNCHECKED, e2e::CheckState(FApp->Button(kTickBox)));
  // Both directory lists show at least their drive root: the rows the screen comparisons of the
  // other tests read are really there.
  EXPECT_FALSE(e2e::ListItems(FApp->SourceDirectoryList()).empty());
  EXPECT_FALSE(e2e::ListItems(FApp->DestinationDirectoryList()).empty());
  ExpectOnlyTheMainWindow();
}

TEST_F(IdleTest, ClearLogWhileIdleLeavesAnEmptyPaneAndTheGaugeAtZero) {
  const auto before = Screen();
  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))) << "handler did not return";
  EXPECT_EQ(L"", FApp->LogText());
  EXPECT_EQ(L"0%", FApp->GaugeText());
  EXPECT_EQ(before, Screen());
  ExpectOnlyTheMainWindow();
}

TEST_F(IdleTest, ClearLogEmptiesLinesLeftInThePane) {
  // Lines put straight into the pane stand in for what an earlier run left there.
  const std::wstring lines = L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...\r\n"
                             L"Sincroniza\u00e7\u00e3o encerrada.\r\n";
  DWORD_PTR result = 0;
  ASSERT_NE(0, SendMessageTimeoutW(FApp->LogPane(), WM_SETTEXT, 0,
                                   reinterpret_cast<LPARAM>(lines.c_str()), SMTO_ABORTIFHUNG, 5000,
                                   &result));
  ASSERT_EQ(Utf8(lines), Utf8(FApp->LogText()));

  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))) << "handler did not return";
  EXPECT_EQ(L"", FApp->LogText());
  EXPECT_EQ(L"0%", FApp->GaugeText());
  ExpectOnlyTheMainWindow();
}

TEST_F(IdleTest, StopWhileIdleHasNoVisibleEffect) {
  const auto before = Screen();
  for (int click = 1; click <= 2; ++click) {
    SCOPED_TRACE(click == 1 ? "first click" : "second click");
    ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kStop))) << "handler did not return";
    EXPECT_EQ(L"", FApp->LogText());
    EXPECT_EQ(before, Screen());
    ExpectOnlyTheMainWindow();
    EXPECT_TRUE(FApp->Running());
  }
}

TEST_F(IdleTest, TickingTheTickBoxChangesNothingElse) {
  const HWND tickBox = FApp->Button(kTickBox);
  ASSERT_NE(nullptr, tickBox);
  const auto before = Screen();

  ASSERT_TRUE(FApp->ClickAndWait(tickBox));
  EXPECT_EQ(BST_CHECKED, e2e::CheckState(tickBox));
  // Apart from its own tick, the screen is as it was.
  auto ticked = Screen();
  for (TWidgetState& state : ticked)
    if (state.Window == tickBox) state.Check = BST_UNCHECKED;
  EXPECT_EQ(before, ticked);
  ExpectOnlyTheMainWindow();

  ASSERT_TRUE(FApp->ClickAndWait(tickBox));
  EXPECT_EQ(BST_UNCHECKED, e2e::CheckState(tickBox));
  EXPECT_EQ(before, Screen());
  ExpectOnlyTheMainWindow();
}

// Every way the operator closes the window ends the program with exit code 0.
TEST_F(IdleTest, EveryCloseRequestEndsTheProgramWithExitCodeZero) {
  struct TCloseRequest {
    const char* Name;
    UINT Message;
    WPARAM WParam;
  };
  const TCloseRequest requests[] = {
      {"WM_CLOSE", WM_CLOSE, 0},
      {"close box (SC_CLOSE)", WM_SYSCOMMAND, SC_CLOSE},
  };
  for (const TCloseRequest& request : requests) {
    SCOPED_TRACE(request.Name);
    if (!FApp->Running()) {
      FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH);
      ASSERT_TRUE(FApp->Started()) << Utf8(FApp->Failure());
    }
    // The buttons used while idle leave nothing that holds the close up.
    ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kStop)));
    ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
    const HWND main = FApp->MainWindow();
    ASSERT_TRUE(PostMessageW(main, request.Message, request.WParam, 0));
    EXPECT_EQ(0u, FApp->WaitForExit(e2e::kExitTimeout));
    EXPECT_FALSE(IsWindow(main));
  }
}

} // namespace
