// The main window as the operator first sees it: caption, frame, size, placement, every widget's
// bounds and text, and the tab order. Runs at 96 dpi and again at 144 dpi (REPLIMAR_EXPECT_DPI).
#include "tests/e2e/Operator.h"
#include <algorithm>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

namespace {

using e2e::ScaledLength;
using e2e::TOperator;
using e2e::Utf8;

// Rounding of odd lengths at a fractional scale may put an edge one pixel either way.
int Tolerance(int dpi) {
  return dpi % 96 == 0 ? 0 : 1;
}

class LayoutTest : public ::testing::Test {
protected:
  void SetUp() override {
    FDpi = e2e::ExpectedDpi();
    e2e::ForgetStoredFolders();
    FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH);
    ASSERT_TRUE(FApp->Started()) << Utf8(FApp->Failure());
  }
  void TearDown() override {
    if (FApp && FApp->Running()) {
      EXPECT_EQ(0u, FApp->Close()) << "exit code after WM_CLOSE";
    }
  }
  int Scaled(int value) const { return ScaledLength(value, FDpi); }

  int FDpi = 96;
  std::unique_ptr<TOperator> FApp;
};

TEST_F(LayoutTest, WindowRunsAtTheExpectedDpi) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (!getDpi) GTEST_SKIP() << "this system cannot tell a window's DPI";
  EXPECT_EQ(static_cast<UINT>(FDpi), getDpi(FApp->MainWindow()));
}

TEST_F(LayoutTest, CaptionAndClass) {
  EXPECT_EQ(e2e::kMainCaption, e2e::WindowText(FApp->MainWindow()));
  EXPECT_EQ(e2e::kMainClass, e2e::ClassOf(FApp->MainWindow()));
}

TEST_F(LayoutTest, FixedSingleBorderWithMinimiseAndCloseOnly) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(FApp->MainWindow(), GWL_STYLE));
  EXPECT_EQ(WS_CAPTION, style & WS_CAPTION) << "title bar";
  EXPECT_TRUE(style & WS_SYSMENU) << "system menu with close";
  EXPECT_TRUE(style & WS_MINIMIZEBOX) << "minimise button";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "maximise button";
  EXPECT_FALSE(style & WS_THICKFRAME) << "sizing frame";
  EXPECT_FALSE(style & (WS_CHILD | WS_POPUP)) << "an overlapped top-level window";
  EXPECT_FALSE(IsZoomed(FApp->MainWindow()));
  EXPECT_FALSE(IsIconic(FApp->MainWindow()));
}

TEST_F(LayoutTest, ClientAreaIs967By556Scaled) {
  RECT client{};
  ASSERT_TRUE(GetClientRect(FApp->MainWindow(), &client));
  EXPECT_NEAR(Scaled(967), client.right, Tolerance(FDpi));
  EXPECT_NEAR(Scaled(556), client.bottom, Tolerance(FDpi));
}

TEST_F(LayoutTest, WindowIsCentredOnThePrimaryScreen) {
  RECT window{};
  ASSERT_TRUE(GetWindowRect(FApp->MainWindow(), &window));
  const int width = window.right - window.left, height = window.bottom - window.top;
  const int left =
      std::max((GetSystemMetrics(SM_CXSCREEN) - width) / 2, GetSystemMetrics(SM_XVIRTUALSCREEN));
  const int top =
      std::max((GetSystemMetrics(SM_CYSCREEN) - height) / 2, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_NEAR(left, window.left, 1);
  EXPECT_NEAR(top, window.top, 1);
}

// The widget table, at 96 dpi. Labels size themselves to their text: only their corner is fixed.
struct TWidgetRow {
  const char* Name;
  std::function<HWND(const TOperator&)> Locate;
  std::function<HWND(const TOperator&)> Parent;
  int Left, Top, Width, Height;
  std::wstring Text;
  bool SizesToText = false;
};

HWND MainOf(const TOperator& app) {
  return app.MainWindow();
}
HWND UpperOf(const TOperator& app) {
  return app.UpperPanel();
}
HWND HeaderOf(const TOperator& app) {
  return app.HeaderPanel();
}
HWND MiddleOf(const TOperator& app) {
  return app.MiddlePanel();
}
std::function<HWND(const TOperator&)> ButtonNamed(std::wstring text) {
  return [text](const TOperator& app) { return app.Button(text); };
}
std::function<HWND(const TOperator&)> LabelNamed(std::wstring text) {
  return [text](const TOperator& app) { return app.Label(text); };
}

const std::wstring kStatusText = L"Status: Aguardando altera\u00e7\u00f5es...";

std::vector<TWidgetRow> WidgetTable() {
  return {
      {"GaugeProgresso", &TOperator::Gauge, MainOf, 1, 359, 958, 24, L"0%"},
      {"LabelStatus", LabelNamed(kStatusText), MainOf, 8, 335, 0, 13, kStatusText, true},
      {"PanelPastas", &TOperator::UpperPanel, MainOf, 0, 0, 967, 145, L""},
      {"DirectoryListOrigem", &TOperator::SourceDirectoryList, UpperOf, 1, 42, 482, 102, L""},
      {"DirectoryListBoxdestino", &TOperator::DestinationDirectoryList, UpperOf, 484, 42, 482, 102,
       L""},
      {"PanelSuperior", &TOperator::HeaderPanel, UpperOf, 1, 1, 965, 41, L""},
      {"LBLOrigem", LabelNamed(L"Pasta origem"), HeaderOf, 101, 9, 0, 19, L"Pasta origem", true},
      {"LblDestino", LabelNamed(L"Pasta destino"), HeaderOf, 582, 9, 0, 19, L"Pasta destino", true},
      {"BtRaizOrigem", ButtonNamed(L"Folder Origem"), HeaderOf, 3, 6, 90, 28, L"Folder Origem"},
      {"BtRaizDestino", ButtonNamed(L"Folder destino"), HeaderOf, 484, 6, 90, 28,
       L"Folder destino"},
      {"PanelFiles", &TOperator::MiddlePanel, MainOf, 0, 145, 967, 155, L""},
      {"FileListBoxOrigem", &TOperator::SourceFileList, MiddleOf, 1, 1, 482, 153, L""},
      {"FileListBoxDestino", &TOperator::DestinationFileList, MiddleOf, 484, 1, 482, 153, L""},
      {"CheckBoxSync", ButtonNamed(L"Habilitar sincronismo automatico"), MainOf, 8, 305, 200, 24,
       L"Habilitar sincronismo automatico"},
      {"MemoLog", &TOperator::LogPane, MainOf, 8, 389, 967, 173, L""},
      {"BtnSyncNow", ButtonNamed(L"Sincronizar Agora"), MainOf, 248, 323, 120, 30,
       L"Sincronizar Agora"},
      {"BtnStop", ButtonNamed(L"Interromper"), MainOf, 378, 323, 120, 30, L"Interromper"},
      {"BtnClearLog", ButtonNamed(L"Limpar Log"), MainOf, 508, 323, 120, 30, L"Limpar Log"},
  };
}

TEST_F(LayoutTest, EveryWidgetHasItsParentBoundsAndText) {
  const int tolerance = Tolerance(FDpi);
  for (const TWidgetRow& row : WidgetTable()) {
    SCOPED_TRACE(row.Name);
    const HWND widget = row.Locate(*FApp);
    ASSERT_NE(nullptr, widget) << "widget not found";
    const HWND parent = row.Parent(*FApp);
    ASSERT_NE(nullptr, parent) << "parent not found";
    EXPECT_EQ(parent, GetAncestor(widget, GA_PARENT)) << "parent";
    EXPECT_TRUE(IsWindowVisible(widget)) << "visible";
    EXPECT_TRUE(IsWindowEnabled(widget)) << "enabled";
    EXPECT_EQ(Utf8(row.Text), Utf8(e2e::WindowText(widget))) << "text";

    const RECT seen = e2e::BoundsInParent(widget);
    EXPECT_NEAR(Scaled(row.Left), seen.left, tolerance) << "left";
    EXPECT_NEAR(Scaled(row.Top), seen.top, tolerance) << "top";
    if (row.SizesToText) {
      EXPECT_GT(seen.right - seen.left, 0) << "width";
      EXPECT_GT(seen.bottom - seen.top, 0) << "height";
    } else {
      EXPECT_NEAR(Scaled(row.Left + row.Width), seen.right, tolerance) << "right";
      EXPECT_NEAR(Scaled(row.Top + row.Height), seen.bottom, tolerance) << "bottom";
    }
  }
}

TEST_F(LayoutTest, WindowTreeHoldsTheWidgetsInCreationOrder) {
  struct TLevel {
    const char* Name;
    HWND Parent;
    std::vector<std::wstring> Classes;
  };
  const std::vector<TLevel> levels = {
      {"window",
       FApp->MainWindow(),
       {e2e::kGaugeClass, L"Static", e2e::kPanelClass, e2e::kPanelClass, L"Button", L"Edit",
        L"Button", L"Button", L"Button"}},
      {"PanelPastas", FApp->UpperPanel(), {L"ListBox", L"ListBox", e2e::kPanelClass}},
      {"PanelSuperior", FApp->HeaderPanel(), {L"Static", L"Static", L"Button", L"Button"}},
      {"PanelFiles", FApp->MiddlePanel(), {L"ListBox", L"ListBox"}},
  };
  for (const TLevel& level : levels) {
    SCOPED_TRACE(level.Name);
    ASSERT_NE(nullptr, level.Parent);
    std::vector<std::string> seen, expected;
    for (HWND child : e2e::ChildrenOf(level.Parent)) {
      std::wstring name = e2e::ClassOf(child);
      CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
      seen.push_back(Utf8(name));
    }
    for (std::wstring name : level.Classes) {
      CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
      expected.push_back(Utf8(name));
    }
    EXPECT_EQ(expected, seen);
  }
}

// The tab stops of the window in their order.
std::vector<std::pair<const char*, HWND>> TabStops(const TOperator& app) {
  return {
      {"DirectoryListOrigem", app.SourceDirectoryList()},
      {"DirectoryListBoxdestino", app.DestinationDirectoryList()},
      {"BtRaizOrigem", app.Button(L"Folder Origem")},
      {"BtRaizDestino", app.Button(L"Folder destino")},
      {"FileListBoxOrigem", app.SourceFileList()},
      {"FileListBoxDestino", app.DestinationFileList()},
      {"CheckBoxSync", app.Button(L"Habilitar sincronismo automatico")},
      {"MemoLog", app.LogPane()},
      {"BtnSyncNow", app.Button(L"Sincronizar Agora")},
      {"BtnStop", app.Button(L"Interromper")},
      {"BtnClearLog", app.Button(L"Limpar Log")},
  };
}

std::string NameOf(const std::vector<std::pair<const char*, HWND>>& stops, HWND window) {
  for (const auto& [name, handle] : stops)
    if (handle == window) return name;
  if (!window) return "nothing";
  return "other " + Utf8(e2e::ClassOf(window)) + " \"" + Utf8(e2e::WindowText(window)) + "\"";
}

// Tab from every widget reaches the next one, and after the last comes the first; Shift+Tab
// walks the same round backwards. The window opens with the focus on the first stop.
TEST_F(LayoutTest, TabAndShiftTabWalkTheTabOrderRoundTheWindow) {
  const auto stops = TabStops(*FApp);
  std::vector<std::string> wanted;
  for (const auto& [name, handle] : stops) {
    ASSERT_NE(nullptr, handle) << name << " not found";
    wanted.push_back(name);
  }
  ASSERT_EQ(stops.front().second, FApp->FocusedWindow())
      << "focus at start: " << NameOf(stops, FApp->FocusedWindow());

  std::vector<std::string> forward;
  for (size_t i = 0; i < stops.size(); ++i) {
    ASSERT_TRUE(FApp->PressKey(VK_TAB)) << "Tab not handled";
    forward.push_back(NameOf(stops, FApp->FocusedWindow()));
  }
  std::vector<std::string> expectedForward(wanted.begin() + 1, wanted.end());
  expectedForward.push_back(wanted.front());
  EXPECT_EQ(expectedForward, forward);

  std::vector<std::string> backward;
  for (size_t i = 0; i < stops.size(); ++i) {
    ASSERT_TRUE(FApp->PressKey(VK_TAB, TOperator::kShift)) << "Shift+Tab not handled";
    backward.push_back(NameOf(stops, FApp->FocusedWindow()));
  }
  std::vector<std::string> expectedBackward(wanted.rbegin(), wanted.rend());
  EXPECT_EQ(expectedBackward, backward);
  EXPECT_TRUE(FApp->Running());
}

// No button is the window's default or cancel button: Esc in any widget, and Enter in any
// widget but the buttons that start something (a run, a folder dialog), change nothing and end
// nothing. The focus stays where it was.
TEST_F(LayoutTest, EnterAndEscInEachWidgetDoNothing) {
  const auto stops = TabStops(*FApp);
  const std::vector<std::string> enterStarts = {"BtRaizOrigem", "BtRaizDestino", "BtnSyncNow"};
  ASSERT_EQ(stops.front().second, FApp->FocusedWindow());
  const auto before = e2e::Snapshot(FApp->MainWindow());
  for (const auto& [name, handle] : stops) {
    SCOPED_TRACE(name);
    ASSERT_EQ(handle, FApp->FocusedWindow()) << NameOf(stops, FApp->FocusedWindow());
    std::vector<UINT> keys = {VK_ESCAPE};
    if (std::find(enterStarts.begin(), enterStarts.end(), name) == enterStarts.end())
      keys.push_back(VK_RETURN);
    for (UINT key : keys) {
      SCOPED_TRACE(key == VK_ESCAPE ? "Esc" : "Enter");
      ASSERT_TRUE(FApp->PressKey(key))
          << "key not handled; the program " << (FApp->Running() ? "runs" : "ended");
      EXPECT_TRUE(FApp->Running());
      EXPECT_EQ(handle, FApp->FocusedWindow()) << NameOf(stops, FApp->FocusedWindow());
      EXPECT_EQ(before, e2e::Snapshot(FApp->MainWindow()));
      EXPECT_EQ(std::vector<HWND>{FApp->MainWindow()}, FApp->TopLevelWindows())
          << Utf8(FApp->DescribeTopLevelWindows());
    }
    ASSERT_TRUE(FApp->PressKey(VK_TAB));
  }
}

// The log pane runs past the client area's right and bottom edges by 8 and 6 pixels at 96 dpi
// (part of its scroll bar is cut off), at every scale; the gauge stops 8 pixels short.
TEST_F(LayoutTest, LogPaneOverhangsTheClientArea) {
  RECT client{};
  ASSERT_TRUE(GetClientRect(FApp->MainWindow(), &client));
  const HWND pane = FApp->LogPane();
  ASSERT_NE(nullptr, pane);
  const RECT memo = e2e::BoundsInParent(pane);
  const int tolerance = Tolerance(FDpi);
  EXPECT_NEAR(Scaled(975), memo.right, tolerance);
  EXPECT_NEAR(Scaled(562), memo.bottom, tolerance);
  EXPECT_NEAR(Scaled(975) - Scaled(967), memo.right - client.right, tolerance);
  EXPECT_NEAR(Scaled(562) - Scaled(556), memo.bottom - client.bottom, tolerance);
  EXPECT_GT(memo.right, client.right);
  EXPECT_GT(memo.bottom, client.bottom);

  const HWND gauge = FApp->Gauge();
  ASSERT_NE(nullptr, gauge);
  const RECT bar = e2e::BoundsInParent(gauge);
  EXPECT_NEAR(Scaled(8), client.right - bar.right, tolerance);
}

TEST_F(LayoutTest, ClosingEndsTheProcessWithExitCodeZero) {
  const HWND main = FApp->MainWindow();
  EXPECT_EQ(0u, FApp->Close());
  EXPECT_FALSE(FApp->Running());
  EXPECT_FALSE(IsWindow(main));
}

} // namespace

namespace {
// The program carries its "Glossy" style and applies it at start-up: the buttons are then drawn
// by the program (owner-drawn) while keeping their texts in the window tree.
TEST_F(LayoutTest, TheGlossyStyleDrawsTheButtons) {
  for (const wchar_t* text :
       {L"Sincronizar Agora", L"Interromper", L"Limpar Log", L"Folder Origem", L"Folder destino"}) {
    const HWND button = FApp->Button(text);
    ASSERT_NE(button, nullptr) << Utf8(text);
    EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << Utf8(text);
  }
}
} // namespace
