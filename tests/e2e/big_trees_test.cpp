// Big trees and big folders, as operators have them: a run over a source of 400,000 files keeps
// the window answering while it counts them and ends on the count; a stop or a close during the
// count is honoured at once; a folder of 100,000 clips shows in both lists. The trees are made
// once, with empty files, by tests/helpers/make_big_trees.py (a CTest fixture; scripts/e2e.sh
// runs it).
#include "funcoes/RegistryValue.h"
#include "tests/e2e/AnswerProbe.h"
#include "tests/e2e/FaultSupport.h"
#include <algorithm>
#include <cstdio>
#include <memory>
#include <gtest/gtest.h>

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

constexpr int kTreeFiles = 400000;
constexpr int kClips = 100000;
constexpr int kSubfolders = 100000;

std::wstring BigTree(const wchar_t* name) {
  return std::wstring(REPLIMAR_BIG_TREES_PATH) + L"\\" + name;
}

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// How long the window took to show with a source folder, and the destination's folder list to
// open a folder of its parent.
struct TListTimes {
  long long ShownAfter = 0;
  long long OpenedAfter = 0;
};

const std::wstring kMonitorLine = L"Monitor : aguardando";

LRESULT ListCount(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count)) return -1;
  return static_cast<LRESULT>(count);
}

std::wstring ListRow(HWND list, LRESULT index) {
  wchar_t text[MAX_PATH] = {};
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 10000,
                          &copied) &&
      copied < MAX_PATH)
    SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &copied);
  return text;
}

class BigTrees : public TToolAsideTest {
protected:
  void SetUp() override {
    TToolAsideTest::SetUp();
    if (HasFatalFailure()) return;
    for (const wchar_t* tree : {L"tree400k", L"clips100k", L"dirs100k"})
      ASSERT_NE(GetFileAttributesW(BigTree(tree).c_str()), INVALID_FILE_ATTRIBUTES)
          << Utf8(BigTree(tree)) << " is missing: run tests/helpers/make_big_trees.py";
  }

  // Starts the program with a source folder of subfolders and waits until its folder list has
  // filled; the window is asked to answer WM_NULL from its show on.
  struct TFill {
    long long ShownAfter = -1;  // ms from the process's creation
    long long FilledAfter = -1; // the same, to the list showing the folder and every subfolder
  };
  TFill StartAndFill(const std::wstring& folder, const std::wstring& name, LRESULT subfolders,
                     std::unique_ptr<TAnswerProbe>& probe) {
    TFill fill;
    RegistryValue(L"escrever", L"storage_Origem", folder);
    fill.ShownAfter = StartProgramTimed();
    if (!FApp->Started()) return fill;
    probe = std::make_unique<TAnswerProbe>(FApp->MainWindow());
    const HWND list = FApp->SourceDirectoryList();
    if (WaitForFill(list, name, subfolders, kStartTimeout))
      fill.FilledAfter = MillisecondsSinceCreation(FApp->Process());
    return fill;
  }
  // Waits until a folder list shows the folder name as its current row with subfolders rows
  // below it (looking every 10 ms).
  static bool WaitForFill(HWND list, const std::wstring& name, LRESULT subfolders,
                          std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      DWORD_PTR current = 0;
      if (SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_NORMAL, 10000, &current) &&
          static_cast<LRESULT>(current) != LB_ERR &&
          ListCount(list) == static_cast<LRESULT>(current) + 1 + subfolders &&
          ListRow(list, static_cast<LRESULT>(current)) == name)
        return true;
      if (Clock::now() >= deadline) return false;
      Sleep(10);
    }
  }

  // Starts the program on the tree of 400,000 files and a run that follows the log this test
  // writes; the log ends with a line that tells when a pass has read it.
  void StartRunOverTheTree(int progressLines) {
    RegistryValue(L"escrever", L"storage_Origem", BigTree(L"tree400k"));
    StartFollowing();
    AppendFile(LogPath(), ProgressLog(progressLines, Utf8(kMonitorLine)));
  }

  // Starts the program on a source and a destination, opens a folder of the destination by
  // Enter on its row, and checks what the file lists then show once they hold files rows.
  template <typename Check>
  TListTimes StartAndOpen(const std::wstring& source, const std::wstring& destinationParent,
                          const std::wstring& folderToOpen, LRESULT files, Check check) {
    TListTimes times;
    RegistryValue(L"escrever", L"storage_Origem", source);
    RegistryValue(L"escrever", L"storage_Destino", destinationParent);
    times.ShownAfter = StartProgramTimed();
    EXPECT_TRUE(FApp->Started());
    if (!FApp->Started()) return times;
    // The lists fill after the window shows, as their reads answer.
    const auto filled = [&](HWND list) {
      return WaitFor([&] { return ListCount(list) == files; }, kStartTimeout);
    };
    EXPECT_TRUE(filled(FApp->SourceFileList()));
    check(FApp->SourceFileList());

    // The operator opens the folder in the destination's folder list.
    const HWND folders = FApp->DestinationDirectoryList();
    std::vector<std::wstring> rows;
    const auto findRow = [&] {
      rows = ListItems(folders);
      return std::find(rows.begin(), rows.end(), folderToOpen);
    };
    EXPECT_TRUE(WaitFor([&] { return findRow() != rows.end(); }, kActionTimeout));
    const auto row = findRow();
    if (row == rows.end()) return times;
    EXPECT_TRUE(FocusOn(*FApp, folders));
    EXPECT_NE(SendMessageW(folders, LB_SETCURSEL, static_cast<WPARAM>(row - rows.begin()), 0),
              LB_ERR);
    const auto opened = Clock::now();
    EXPECT_TRUE(FApp->PressKey(VK_RETURN));
    EXPECT_TRUE(filled(FApp->DestinationFileList()));
    times.OpenedAfter = MillisecondsSince(opened);
    check(FApp->DestinationFileList());
    EXPECT_TRUE(WindowUsable());
    EXPECT_EQ(FApp->Close(), 0u);
    return times;
  }
};

// The log is followed from the first pass while the count goes on in slices between passes:
// the window answers throughout, and once the count ends the gauge's maximum is the number of
// files (399,999 lines of 400,000 give 99%, 400,000 give 100%).
TEST_F(BigTrees, TheWindowAnswersThroughoutARunAndTheGaugeEndsOnTheFileCount) {
  RegistryValue(L"escrever", L"storage_Origem", BigTree(L"tree400k"));
  StartProgram();
  TAnswerProbe probe(FApp->MainWindow());
  const auto started = Clock::now();
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  ASSERT_TRUE(WaitFor([&] { return FApp->LogText().find(kCannotStart) != std::wstring::npos; },
                      kActionTimeout));
  AppendFile(LogPath(), ProgressLog(kTreeFiles - 1, Utf8(kMonitorLine)));

  std::wstring gaugeWhenFollowed;
  ASSERT_TRUE(WaitFor(
      [&] {
        gaugeWhenFollowed = FApp->GaugeText();
        return LastPaneLine(*FApp) == kMonitorLine;
      },
      kActionTimeout))
      << Utf8(FApp->LogText());
  const long long followedAfter = MillisecondsSince(started);
  // The count of 400,000 files takes seconds under Wine; the log's line came before its end.
  EXPECT_EQ(gaugeWhenFollowed, L"0%") << "the pass that showed the log's line had the count";

  ASSERT_TRUE(WaitFor([&] { return FApp->GaugeText() != L"0%"; }, std::chrono::seconds(120)))
      << "the count did not end";
  const long long countedAfter = MillisecondsSince(started);
  EXPECT_EQ(FApp->GaugeText(), L"99%") << "399,999 of at least 400,000 files";
  AppendFile(LogPath(), "100%\r\n");
  EXPECT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"100%"; }, kActionTimeout))
      << "400,000 of at most 400,000 files: " << Utf8(FApp->GaugeText());
  probe.Stop();

  std::printf("[big trees] log followed after %lld ms, count done after %lld ms; %zu answers, "
              "longest wait %lld ms\n",
              followedAfter, countedAfter, probe.Waits().size(), probe.Longest());
  EXPECT_EQ(probe.Unanswered(), 0);
  EXPECT_GT(probe.Waits().size(), 5u);
  // A loose bound (the figure is a benchmark's): the count once held the window for seconds.
  EXPECT_LT(probe.Longest(), 1000);

  ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
  EXPECT_EQ(FApp->Close(), 0u);
}

enum class TStopBy { Button, Close };

class BigTreesStop : public BigTrees, public ::testing::WithParamInterface<TStopBy> {};

// With 400,000 lines of "%", a count that ended would show 100%: the gauge still at 0% after
// the stop shows that the stop came, and ended the run, during the count.
TEST_P(BigTreesStop, DuringTheCountEndsTheRunWithinASecond) {
  StartRunOverTheTree(kTreeFiles);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kMonitorLine; }, kActionTimeout))
      << Utf8(FApp->LogText());
  ASSERT_EQ(FApp->GaugeText(), L"0%") << "the count ended before the stop could be tried";

  // Found before the clock starts: finding a widget asks the busy window for texts.
  const HWND stop = FApp->Button(kStop);
  const auto stopped = Clock::now();
  if (GetParam() == TStopBy::Button) {
    ASSERT_TRUE(FApp->Click(stop));
    ASSERT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
    const long long took = MillisecondsSince(stopped);
    std::printf("[big trees] \"Interromper\" during the count: run ended after %lld ms\n", took);
    EXPECT_LT(took, 1000);
    EXPECT_EQ(FApp->GaugeText(), L"0%") << "the count went on after the stop";
    EXPECT_EQ(CountLines(PaneLines(FApp->LogText()), kEnded), 1);
    EXPECT_TRUE(WindowUsable());
    EXPECT_EQ(FApp->Close(), 0u);
  } else {
    EXPECT_EQ(FApp->Close(std::chrono::seconds(1)), 0u) << "the program did not end within 1 s";
    std::printf("[big trees] close during the count: program ended after %lld ms\n",
                MillisecondsSince(stopped));
  }
}

INSTANTIATE_TEST_SUITE_P(BigTrees, BigTreesStop, ::testing::Values(TStopBy::Button, TStopBy::Close),
                         [](const ::testing::TestParamInfo<TStopBy>& info) {
                           return info.param == TStopBy::Button ? "Interromper" : "Close";
                         });

// The clips and "video.mp4x", which the media mask's "*.MP4" takes by its 8.3 name (VIDE~...MP4)
// as the system's search does; "notas.doc", "leia-me" and "imagem.jpeg2" stay out.
void ExpectClips(HWND list) {
  ASSERT_EQ(ListCount(list), kClips + 1);
  EXPECT_EQ(ListRow(list, 0), L"clip000000.mp4");
  EXPECT_EQ(ListRow(list, kClips - 1), L"clip099999.mp4");
  EXPECT_EQ(ListRow(list, kClips), L"video.mp4x");
}

// A folder of 100,000 clips, as the source at the start and opened in the destination's folder
// list. The same steps with a folder of 10 clips, in the same run, give the yardstick: what the
// big folder adds is its reading.
TEST_F(BigTrees, AFolderOf100000ClipsShowsInBothLists) {
  std::vector<std::wstring> tenClips;
  for (int i = 0; i < 10; ++i) {
    tenClips.push_back(L"clip" + std::to_wstring(i) + L".mp4");
    WriteFile(FSource + L"\\" + tenClips.back(), "");
  }
  const auto expectTen = [&](HWND list) { EXPECT_EQ(ListItems(list), tenClips); };
  // The first start loads the program's libraries into the cache: it is not measured.
  StartAndOpen(FSource, FRoot, L"origem", 10, expectTen);
  if (HasFatalFailure()) return;
  const TListTimes small = StartAndOpen(FSource, FRoot, L"origem", 10, expectTen);
  if (HasFatalFailure()) return;
  const TListTimes big = StartAndOpen(BigTree(L"clips100k"), REPLIMAR_BIG_TREES_PATH, L"clips100k",
                                      kClips + 1, [](HWND list) { ExpectClips(list); });
  std::printf("[big trees] window shown %lld ms after the start with the clips' folder as the "
              "source (%lld ms with 10 clips: +%lld ms); the destination list opened it in %lld "
              "ms (%lld ms for 10 clips: +%lld ms)\n",
              big.ShownAfter, small.ShownAfter, big.ShownAfter - small.ShownAfter, big.OpenedAfter,
              small.OpenedAfter, big.OpenedAfter - small.OpenedAfter);
}

// A folder of 100,000 subfolders as the source: its folder list fills within 1 s more than an
// empty folder's, and the window answers throughout, also while the list moves to the parent and
// back into the big folder. The goals (at most 1 s more, answers within 100 ms) are asserted as
// 2 s and 500 ms: a loaded two-core host under Wine, where one listing of 100,000 entries alone
// takes 0.6 to 0.8 s.
TEST_F(BigTrees, AFolderOf100000SubfoldersFillsItsListWhileTheWindowAnswers) {
  constexpr long long kMoreLimitMs = 1000, kMoreAllowedMs = 2000;
  constexpr long long kAnswerLimitMs = 100, kAnswerAllowedMs = 500;
  std::unique_ptr<TAnswerProbe> probe;
  // The first start loads the program's libraries into the cache: it is not measured.
  StartAndFill(FSource, L"origem", 0, probe);
  probe.reset();
  ASSERT_EQ(FApp->Close(), 0u);
  const TFill empty = StartAndFill(FSource, L"origem", 0, probe);
  ASSERT_GE(empty.FilledAfter, 0) << "the empty folder's list did not fill";
  probe.reset();
  ASSERT_EQ(FApp->Close(), 0u);

  const TFill big = StartAndFill(BigTree(L"dirs100k"), L"dirs100k", kSubfolders, probe);
  ASSERT_GE(big.FilledAfter, 0) << "the list of 100,000 subfolders did not fill";
  // The operator opens the parent and then the big folder again, from the keyboard.
  const HWND list = FApp->SourceDirectoryList();
  ASSERT_TRUE(FocusOn(*FApp, list));
  const auto current = [&] { return static_cast<LRESULT>(SendMessageW(list, LB_GETCURSEL, 0, 0)); };
  const LRESULT bigRow = current();
  ASSERT_NE(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(bigRow - 1), 0), LB_ERR);
  ASSERT_TRUE(FApp->PressKey(VK_RETURN));
  ASSERT_TRUE(WaitFor([&] { return ShownRow(list) == L"big-trees"; }, kActionTimeout))
      << "the parent did not open";
  const std::vector<std::wstring> rows = ListItems(list);
  const auto row = std::find(rows.begin(), rows.end(), L"dirs100k");
  ASSERT_NE(row, rows.end());
  ASSERT_NE(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row - rows.begin()), 0), LB_ERR);
  const auto opened = Clock::now();
  ASSERT_TRUE(FApp->PressKey(VK_RETURN));
  EXPECT_TRUE(WaitForFill(list, L"dirs100k", kSubfolders, kStartTimeout));
  const long long reopenedAfter = MillisecondsSince(opened);
  probe->Stop();

  const long long more = big.FilledAfter - empty.FilledAfter;
  std::printf("[big trees] source list filled %lld ms after the start with 100,000 subfolders, "
              "%lld ms with an empty folder: +%lld ms (limit +%lld, allowed +%lld); windows shown "
              "after %lld and %lld ms; opened again from its parent in %lld ms\n",
              big.FilledAfter, empty.FilledAfter, more, kMoreLimitMs, kMoreAllowedMs,
              big.ShownAfter, empty.ShownAfter, reopenedAfter);
  std::printf("[big trees] 100,000 subfolders: %d answers asked from the show on, %d "
              "unanswered, longest wait %lld ms (limit %lld, allowed %lld)\n",
              probe->Asked(), probe->Unanswered(), probe->Longest(), kAnswerLimitMs,
              kAnswerAllowedMs);
  EXPECT_LE(more, kMoreAllowedMs);
  EXPECT_EQ(probe->Unanswered(), 0);
  EXPECT_LE(probe->Longest(), kAnswerAllowedMs);
  EXPECT_EQ(FApp->Close(), 0u);
}

} // namespace
