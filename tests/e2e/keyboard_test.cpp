// The window worked from the keyboard alone, keys queued to the focused widget and dispatched by
// the program's own loop: Space and Enter press buttons, Space ticks the box, the lists move
// with the arrow, Home/End and page keys, Enter opens a folder, the log pane selects and copies,
// Esc and Enter end nothing (a run included), and the focused widget shows a focus mark.
#include "funcoes/Handles.h"
#include "tests/e2e/FaultSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace e2e;

LRESULT Ask(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool PutOnClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool put = false;
  if (memory) {
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!put) GlobalFree(memory);
  }
  CloseClipboard();
  return put;
}

class KeyboardRun : public TMirrorTest {};

// A whole run from the keyboard: Space on "Sincronizar Agora" starts it, Esc and Enter in the
// log pane during it end nothing, Enter on "Interromper" stops it, Ctrl+A and Ctrl+C copy the
// log, Space on "Limpar Log" clears it; the program ends only when closed.
TEST_F(KeyboardRun, AWholeRunFromTheKeyboard) {
  WriteFile(FSource + L"\\um.txt", "primeiro");
  StartProgram();
  const HWND syncNow = FApp->Button(kSyncNow);
  const HWND stop = FApp->Button(kStop);
  const HWND clear = FApp->Button(kClearLog);
  const HWND pane = FApp->LogPane();

  ASSERT_TRUE(FocusOn(*FApp, syncNow));
  ASSERT_TRUE(FApp->PressKey(VK_SPACE));
  ASSERT_TRUE(WaitFor([&] { return FApp->LogText().find(kStarting) != std::wstring::npos; },
                      kActionTimeout))
      << Utf8(FApp->LogText());
  EXPECT_EQ(syncNow, FApp->FocusedWindow());

  ASSERT_TRUE(FApp->PressKey(VK_TAB, TOperator::kShift));
  ASSERT_EQ(pane, FApp->FocusedWindow());
  for (UINT key : {VK_ESCAPE, VK_RETURN}) {
    ASSERT_TRUE(FApp->PressKey(key)) << "the program " << (FApp->Running() ? "hangs" : "ended");
    EXPECT_EQ(pane, FApp->FocusedWindow());
  }
  // The run goes on: the file arrives, and the run has not ended.
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(FDestination + L"\\um.txt") == "primeiro"; },
                      kStartTimeout));
  EXPECT_EQ(std::wstring::npos, FApp->LogText().find(kEnded));
  EXPECT_EQ(std::vector<HWND>{FApp->MainWindow()}, FApp->TopLevelWindows())
      << Utf8(FApp->DescribeTopLevelWindows());

  ASSERT_TRUE(FocusOn(*FApp, stop));
  ASSERT_TRUE(FApp->PressKey(VK_RETURN));
  ASSERT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout))
      << Utf8(FApp->LogText());
  EXPECT_TRUE(FApp->Running());

  ASSERT_TRUE(FocusOn(*FApp, pane));
  const std::wstring text = FApp->LogText();
  // Home drops whatever selection the Tab into the pane made.
  ASSERT_TRUE(FApp->PressKey(VK_HOME));
  const auto selection = [&] {
    const auto packed = static_cast<DWORD>(Ask(pane, EM_GETSEL));
    return std::make_pair(LOWORD(packed), HIWORD(packed));
  };
  EXPECT_EQ(selection().first, selection().second) << "nothing selected";
  ASSERT_TRUE(FApp->PressKey('A', TOperator::kControl));
  EXPECT_EQ(0, selection().first);
  EXPECT_EQ(text.size(), selection().second) << "Ctrl+A selects the whole log";
  ASSERT_TRUE(PutOnClipboard(L"antes"));
  ASSERT_TRUE(FApp->PressKey('C', TOperator::kControl));
  EXPECT_TRUE(WaitFor([&] { return ClipboardText() == text; }, kActionTimeout))
      << "clipboard: " << Utf8(ClipboardText());
  EXPECT_EQ(text, FApp->LogText()) << "the read-only pane is unchanged";

  ASSERT_TRUE(FocusOn(*FApp, clear));
  ASSERT_TRUE(FApp->PressKey(VK_SPACE));
  EXPECT_TRUE(WaitFor([&] { return FApp->LogText().empty(); }, kActionTimeout));
  EXPECT_EQ(L"0%", FApp->GaugeText());
  EXPECT_EQ(0u, FApp->Close());
}

class KeyboardLists : public TMirrorTest {
protected:
  int Selected(HWND list) const { return static_cast<int>(Ask(list, LB_GETCURSEL)); }
  int Caret(HWND list) const { return static_cast<int>(Ask(list, LB_GETCARETINDEX)); }
  int Count(HWND list) const { return static_cast<int>(Ask(list, LB_GETCOUNT)); }
};

// Arrows, Home, End and the page keys move the highlight of a folder list; Enter on a subfolder
// opens it as a double-click does, and its file list follows.
TEST_F(KeyboardLists, TheFolderListMovesWithTheKeysAndEnterOpensTheFolder) {
  for (int i = 0; i < 20; ++i)
    ASSERT_TRUE(CreateDirectoryW(
        (FSource + L"\\pasta" + (i < 10 ? L"0" : L"") + std::to_wstring(i)).c_str(), nullptr));
  WriteFile(FSource + L"\\pasta19\\dentro.mp4", "x");
  StartProgram();
  const HWND folders = FApp->SourceDirectoryList();
  ASSERT_EQ(folders, FApp->FocusedWindow()) << "the first tab stop has the focus";
  const int count = Count(folders);
  const int current = Selected(folders);
  ASSERT_EQ(count - 21, current) << "the source folder's row, then its 20 subfolders";

  struct TStep {
    UINT Key;
    int Expected;
  };
  for (const TStep& step : {TStep{VK_DOWN, current + 1}, TStep{VK_UP, current},
                            TStep{VK_END, count - 1}, TStep{VK_HOME, 0}}) {
    ASSERT_TRUE(FApp->PressKey(step.Key));
    EXPECT_EQ(step.Expected, Selected(folders)) << "key " << step.Key;
    EXPECT_EQ(folders, FApp->FocusedWindow());
  }
  ASSERT_TRUE(FApp->PressKey(VK_NEXT));
  EXPECT_GT(Selected(folders), 1) << "Page Down moves by a page";
  ASSERT_TRUE(FApp->PressKey(VK_PRIOR));
  EXPECT_EQ(0, Selected(folders)) << "Page Up comes back";
  // Moving the highlight opens nothing: the rows are those of the source folder still.
  EXPECT_EQ(count, Count(folders));
  EXPECT_EQ(L"origem", ListItems(folders)[static_cast<size_t>(current)]);

  ASSERT_TRUE(FApp->PressKey(VK_END));
  ASSERT_TRUE(FApp->PressKey(VK_RETURN));
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto rows = ListItems(folders);
        return !rows.empty() && rows.back() == L"pasta19" &&
               Selected(folders) == static_cast<int>(rows.size()) - 1;
      },
      kActionTimeout))
      << "the list did not open pasta19";
  EXPECT_EQ(std::vector<std::wstring>{L"dentro.mp4"}, ListItems(FApp->SourceFileList()));
  EXPECT_TRUE(FApp->Running());
}

// In a file list the arrows, Home, End and the page keys move the caret, and Shift with an
// arrow widens the selection.
TEST_F(KeyboardLists, TheFileListMovesWithTheKeysAndShiftSelects) {
  for (int i = 0; i < 20; ++i)
    WriteFile(FSource + L"\\arquivo" + (i < 10 ? L"0" : L"") + std::to_wstring(i) + L".mp4", "x");
  StartProgram();
  const HWND files = FApp->SourceFileList();
  ASSERT_EQ(20, Count(files));
  ASSERT_TRUE(FocusOn(*FApp, files));

  ASSERT_TRUE(FApp->PressKey(VK_END));
  EXPECT_EQ(19, Caret(files));
  ASSERT_TRUE(FApp->PressKey(VK_HOME));
  EXPECT_EQ(0, Caret(files));
  ASSERT_TRUE(FApp->PressKey(VK_DOWN));
  EXPECT_EQ(1, Caret(files));
  ASSERT_TRUE(FApp->PressKey(VK_NEXT));
  EXPECT_GT(Caret(files), 2) << "Page Down moves by a page";
  ASSERT_TRUE(FApp->PressKey(VK_PRIOR));
  EXPECT_EQ(1, Caret(files)) << "Page Up goes back by the same page";
  EXPECT_EQ(1, Ask(files, LB_GETSELCOUNT));
  ASSERT_TRUE(FApp->PressKey(VK_DOWN, TOperator::kShift));
  ASSERT_TRUE(FApp->PressKey(VK_DOWN, TOperator::kShift));
  EXPECT_EQ(3, Ask(files, LB_GETSELCOUNT)) << "Shift+Down widens the selection";
  EXPECT_EQ(files, FApp->FocusedWindow());
}

class Keyboard : public ::testing::Test {
protected:
  void SetUp() override {
    e2e::ForgetStoredFolders();
    FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH);
    ASSERT_TRUE(FApp->Started()) << Utf8(FApp->Failure());
  }
  void TearDown() override {
    if (FApp && FApp->Running()) {
      EXPECT_EQ(0u, FApp->Close());
    }
  }
  std::unique_ptr<TOperator> FApp;
};

TEST_F(Keyboard, SpaceTicksAndUnticksTheBox) {
  const HWND box = FApp->Button(L"Habilitar sincronismo automatico");
  ASSERT_TRUE(FocusOn(*FApp, box));
  EXPECT_EQ(BST_UNCHECKED, CheckState(box));
  ASSERT_TRUE(FApp->PressKey(VK_SPACE));
  EXPECT_EQ(BST_CHECKED, CheckState(box));
  ASSERT_TRUE(FApp->PressKey(VK_SPACE));
  EXPECT_EQ(BST_UNCHECKED, CheckState(box));
  EXPECT_EQ(box, FApp->FocusedWindow());
}

// The focused widget looks different from the same widget without the focus, in the program's
// "Glossy" style: read from the screen, each tab stop's pixels change when it takes the focus.
TEST_F(Keyboard, EveryTabStopShowsAFocusMark) {
  struct TStop {
    const char* Name;
    HWND Window;
  };
  const std::vector<TStop> stops = {
      {"DirectoryListOrigem", FApp->SourceDirectoryList()},
      {"BtRaizOrigem", FApp->Button(L"Folder Origem")},
      {"FileListBoxOrigem", FApp->SourceFileList()},
      {"CheckBoxSync", FApp->Button(L"Habilitar sincronismo automatico")},
      {"MemoLog", FApp->LogPane()},
      {"BtnSyncNow", FApp->Button(L"Sincronizar Agora")},
  };
  const auto capture = [](HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    const TWindowDc screen(nullptr);
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    const TSelectObject select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pixels.push_back(GetPixel(memory.Get(), x, y));
    return pixels;
  };
  const auto differing = [](const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    size_t n = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
      n += a[i] != b[i];
    return n;
  };
  for (const TStop& stop : stops) {
    SCOPED_TRACE(stop.Name);
    ASSERT_TRUE(FocusOn(*FApp, stop.Window));
    ASSERT_TRUE(FApp->Settle());
    RedrawWindow(stop.Window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    ASSERT_TRUE(FApp->Settle());
    const auto focused = capture(stop.Window);
    ASSERT_TRUE(FApp->PressKey(VK_TAB));
    ASSERT_NE(stop.Window, FApp->FocusedWindow());
    ASSERT_TRUE(FApp->Settle());
    const auto unfocused = capture(stop.Window);
    // More than a text caret's worth of pixels.
    EXPECT_GT(differing(focused, unfocused), 20u);
  }
}

} // namespace
