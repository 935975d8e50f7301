// The file list: its mask split at ";" with each piece used as written, what it leaves out, its
// order, and reading its folder only when the folder or the mask really changes: at once on
// screen, once when first looked at while the window is being set up. Its one listing of a
// folder shows the rows, in the order, that the system's search per piece and a sorted list box
// gave, short names included.
#include "WinTestSupport.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"
#include "widgets/Background.h"
#include "widgets/Button.h"
#include "widgets/FileListBox.h"
#include "widgets/pure/FileMask.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using wintest::CurrentFolderNow;
using wintest::Narrow;
using wintest::Rows;
using wintest::THostForm;
using wintest::TMessageBoxCloser;
using wintest::TTempTree;
using TNames = std::vector<std::wstring>;

// The media mask of the folder selection, as the window sets it.
constexpr wchar_t kMediaMask[] =
    L"*.MBD; *.TXT;*.MP2;*.MP3;*.MP4;*.MOV;*.MXF;*.AVI;*.ASF;*.BMP;*.DV;*.FLV;*.GXF;*.JPG;*.MPG;"
    L"*.WMA;*.WMV;*.TGA;*.VOB;*.XML;*.PNG;*.MKV";

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

class FileListTest : public ::testing::Test {
protected:
  void SetUp() override {
    FTree.File(L"a.txt", "a");
    FTree.File(L"B.TXT", "b");
    FTree.File(L" c.txt", "c"); // a name that begins with a blank
    FTree.File(L"d.mp3", "d");
    FTree.File(L"hidden.txt", "h", FILE_ATTRIBUTE_HIDDEN);
    FTree.File(L"system.txt", "s", FILE_ATTRIBUTE_SYSTEM);
    FTree.Folder(L"folder.txt");
    FTree.Folder(L"sub");
    FTree.File(L"sub\\e.txt", "e");
    ASSERT_TRUE(GetFileAttributesW(FTree.Path(L"hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN)
        << "this file system keeps no hidden attribute";
    ASSERT_TRUE(GetFileAttributesW(FTree.Path(L"system.txt").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    // A new list shows the process's current folder.
    ASSERT_TRUE(SetCurrentDirectoryW(FTree.Root().c_str()));
    FList.SetBounds({8, 8, 200, 200});
  }
  // A list on screen, which reads each change at once.
  void Create() {
    FHost.ShowPlain();
    FList.Create(FHost.Form());
  }

  TTempTree FTree{L"files"};
  THostForm FHost;
  TFileListBox FList;
};

TEST_F(FileListTest, ANewListShowsTheCurrentFolderWithEveryFile) {
  Create();
  EXPECT_EQ(FList.Directory(), FTree.Root());
  EXPECT_EQ(FList.Mask(), L"*.*");
  EXPECT_EQ(FList.ReadCount(), 1);
  // Sorted by name, letter case ignored; folders, hidden and system files left out.
  EXPECT_EQ(Rows(FList), (TNames{L" c.txt", L"a.txt", L"B.TXT", L"d.mp3"}));
}

struct TMaskCase {
  const wchar_t* Mask;
  TNames Expected;
};

class FileListMaskTest : public FileListTest, public ::testing::WithParamInterface<TMaskCase> {};

TEST_P(FileListMaskTest, ListsWhatEachPieceMatches) {
  Create();
  FList.SetMask(GetParam().Mask);
  EXPECT_EQ(Rows(FList), GetParam().Expected) << "mask \"" << Narrow(GetParam().Mask) << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Masks, FileListMaskTest,
    ::testing::Values(TMaskCase{L"*.TXT", {L" c.txt", L"a.txt", L"B.TXT"}},
                      // The blank belongs to the pattern: only names that begin with a blank match.
                      TMaskCase{L" *.TXT", {L" c.txt"}},
                      TMaskCase{L"*.MP3; *.TXT", {L" c.txt", L"d.mp3"}},
                      // A file matched by two pieces is listed twice.
                      TMaskCase{L"*.TXT;a*", {L" c.txt", L"a.txt", L"a.txt", L"B.TXT"}},
                      TMaskCase{L"a.txt;A.TXT", {L"a.txt", L"a.txt"}},
                      TMaskCase{L"?.txt", {L"a.txt", L"B.TXT"}}, TMaskCase{L"*.MBD", {}},
                      TMaskCase{L"*.TXT;", {L" c.txt", L"a.txt", L"B.TXT"}},
                      // The window's media mask: "a.txt" and "B.TXT" stay out because of " *.TXT".
                      TMaskCase{kMediaMask, {L" c.txt", L"d.mp3"}}));

TEST_F(FileListTest, NothingIsReadBeforeTheWindowExists) {
  FList.SetMask(L"*.MP3");
  EXPECT_EQ(FList.ReadCount(), 0);
  Create();
  EXPECT_EQ(FList.ReadCount(), 1);
  EXPECT_EQ(Rows(FList), (TNames{L"d.mp3"}));
}

// The window's show sets the mask and then the folder; the list reads only the folder it ends
// with, once, before the window appears. Asking for the rows earlier reads them then.
TEST_F(FileListTest, WhileTheWindowIsSetUpTheListReadsOnceWhenLookedAt) {
  FList.Create(FHost.Form());
  FList.SetMask(kMediaMask);
  FList.SetDirectory(FTree.Path(L"sub"));
  FList.SetMask(L"*.TXT");
  EXPECT_EQ(FList.ReadCount(), 0);
  ASSERT_TRUE(SetCurrentDirectoryW(FTree.Root().c_str()));
  EXPECT_EQ(Rows(FList), (TNames{L"e.txt"}));
  EXPECT_EQ(FList.ReadCount(), 1);
  // Reading leaves the current folder where it was.
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
  FList.SetDirectory(FTree.Root());
  EXPECT_EQ(FList.ReadCount(), 1);
  // Another process asking the list box for its rows sees them read, too.
  EXPECT_EQ(SendMessageW(FList.Handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(FList.ReadCount(), 2);
}

// What the list had read when its form first was visible.
const TFileListBox* gWatchedList = nullptr;
HWND gWatchedForm = nullptr;
int gReadsWhenShown = -1;

LRESULT CALLBACK WatchShow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && gReadsWhenShown < 0 && IsWindowVisible(gWatchedForm))
    gReadsWhenShown = gWatchedList->ReadCount();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(FileListTest, TheFormsShowReadsWhatWaitsBeforeTheWindowAppears) {
  // The button takes the focus when the window appears, so nothing but the show looks at the
  // list before its first paint.
  TButton first{L"first"};
  first.SetBounds({220, 8, 80, 24});
  first.Create(FHost.Form());
  FList.Create(FHost.Form());
  FHost.Form().OnShow = [&] {
    FList.SetMask(L"*.MP3");
    FList.SetDirectory(FTree.Root());
  };
  gWatchedList = &FList;
  gWatchedForm = FHost.Form().Handle();
  gReadsWhenShown = -1;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchShow, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  FHost.Form().Show();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(gReadsWhenShown, 1);
  EXPECT_EQ(Rows(FList), (TNames{L"d.mp3"}));
  EXPECT_EQ(FList.ReadCount(), 1);
  ShowWindow(FHost.Form().Handle(), SW_HIDE);
}

// A folder removed between the change and the first look: the look reports it, as any failed
// read is reported, and the window procedure that looked goes on.
TEST_F(FileListTest, AFolderGoneBeforeTheFirstLookIsReported) {
  FList.Create(FHost.Form());
  FList.SetDirectory(FTree.Path(L"sub"));
  ASSERT_TRUE(SetCurrentDirectoryW(FTree.Root().c_str()));
  ASSERT_TRUE(DeleteFileW(FTree.Path(L"sub\\e.txt").c_str()));
  ASSERT_TRUE(RemoveDirectoryW(FTree.Path(L"sub").c_str()));
  TMessageBoxCloser closer;
  EXPECT_EQ(Rows(FList), TNames{});
  closer.Join();
  ASSERT_TRUE(closer.Found()) << "no error report shown";
  EXPECT_NE(closer.Text().find(FTree.Path(L"sub")), std::wstring::npos) << Narrow(closer.Text());
  EXPECT_EQ(FList.ReadCount(), 1);
}

// A read that has not answered within the window's wait (asked with no wait left in a budget,
// as a slow server would make it): the list shows no rows of the folder before, says it waits,
// and shows the rows when the answer comes; the answer of a read a later change replaced is
// dropped.
TEST_F(FileListTest, ALateReadShowsItsRowsWhenItAnswersUnlessReplaced) {
  Create();
  Rows(FList);
  // True once a read is waiting for its answer; the pool may answer within no wait at all, so
  // it is tried a few times.
  const auto readLate = [&](const wchar_t* mask) {
    for (int i = 0; i < 20; ++i) {
      FList.SetMask(L"*.none");
      Rows(FList);
      const Background::TWaitBudget none(0);
      FList.SetMask(mask);
      if (FList.Waiting()) return true;
    }
    return false;
  };
  ASSERT_TRUE(readLate(L"*.TXT"));
  EXPECT_EQ(FList.Items(), TNames{});
  EXPECT_EQ(Rows(FList), (TNames{L" c.txt", L"a.txt", L"B.TXT"}));
  EXPECT_FALSE(FList.Waiting());

  ASSERT_TRUE(readLate(L"*.TXT"));
  FList.SetMask(L"*.MP3");
  EXPECT_EQ(Rows(FList), (TNames{L"d.mp3"}));
  wintest::WaitUntil([] { return false; }, 300); // the late answer comes meanwhile
  EXPECT_EQ(FList.Items(), (TNames{L"d.mp3"}));
}

TEST_F(FileListTest, TheSameMaskDoesNotReadAgain) {
  Create();
  FList.SetMask(kMediaMask);
  const int reads = FList.ReadCount();
  EXPECT_EQ(reads, 2);
  FList.SetMask(kMediaMask);
  EXPECT_EQ(FList.ReadCount(), reads);
  // A file that appears meanwhile is seen only at the next real change.
  FTree.File(L"new.mp3");
  EXPECT_EQ(Rows(FList), (TNames{L" c.txt", L"d.mp3"}));
  // The letter case of a mask counts as a change of text.
  FList.SetMask(L"*.mbd; *.txt;*.mp2;*.mp3");
  EXPECT_EQ(FList.ReadCount(), reads + 1);
  EXPECT_EQ(Rows(FList), (TNames{L" c.txt", L"d.mp3", L"new.mp3"}));
}

TEST_F(FileListTest, TheSameFolderInOtherLetterCaseDoesNotReadAgain) {
  Create();
  const int reads = FList.ReadCount();
  FList.SetDirectory(Upper(FTree.Root()));
  EXPECT_EQ(FList.ReadCount(), reads);
  EXPECT_EQ(FList.Directory(), FTree.Root());
}

TEST_F(FileListTest, AnotherFolderIsRead) {
  Create();
  const int reads = FList.ReadCount();
  FList.SetDirectory(FTree.Path(L"sub"));
  EXPECT_EQ(FList.ReadCount(), reads + 1);
  EXPECT_EQ(FList.Directory(), FTree.Path(L"sub"));
  EXPECT_EQ(Rows(FList), (TNames{L"e.txt"}));
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
}

TEST_F(FileListTest, ReadingAgainReadsTheListsFolderWhateverIsCurrent) {
  Create();
  ASSERT_TRUE(SetCurrentDirectoryW(FTree.Path(L"sub").c_str()));
  FList.SetMask(L"*.TXT");
  EXPECT_EQ(CurrentFolderNow(), FTree.Path(L"sub"));
  EXPECT_EQ(Rows(FList), (TNames{L" c.txt", L"a.txt", L"B.TXT"}));
}

TEST_F(FileListTest, AFolderThatCannotBeEnteredRaisesAndKeepsTheOldOne) {
  Create();
  const int reads = FList.ReadCount();
  const TNames before = Rows(FList);
  const std::wstring missing = FTree.Path(L"missing");
  try {
    FList.SetDirectory(missing);
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find(missing), std::wstring::npos) << Narrow(e.Message());
  }
  EXPECT_EQ(FList.Directory(), FTree.Root());
  EXPECT_EQ(FList.ReadCount(), reads);
  EXPECT_EQ(Rows(FList), before);
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
  // A file is no folder either.
  EXPECT_THROW(FList.SetDirectory(FTree.Path(L"a.txt")), EInOutError);
  EXPECT_EQ(FList.Directory(), FTree.Root());
}

// Names whose matching or order is easy to get wrong: extensions longer than three letters that
// match by their short name, dots and blanks, letter case and letters beyond ASCII, and the
// marks the locale's order weighs apart from plain code order.
const wchar_t* const kTrickyNames[] = {L"video.mp4x",
                                       L"clip.mp4",
                                       L"CLIP2.MP4",
                                       L"x.mp4.bak",
                                       L"a.txt",
                                       L"B.TXT",
                                       L" c.txt",
                                       L"ab.txt",
                                       L"abc.txt",
                                       L"a.b.txt",
                                       L"noext",
                                       L"README",
                                       L"a",
                                       L"ab",
                                       L"abcd",
                                       L"txt",
                                       L"alpha-beta.txt",
                                       L"alphabeta.txt",
                                       L"alpha_beta.txt",
                                       L"o'neil.txt",
                                       L"10.txt",
                                       L"9.txt",
                                       L"caf\u00E9.txt",
                                       L"CAFE.txt",
                                       L"\u00C1bc.txt",
                                       L"zeta.TXT",
                                       L"Zeta2.txt",
                                       L"song.mp3",
                                       L"page.html",
                                       L"page.htm",
                                       L"long name with blanks.mp4",
                                       L"movie.MKV",
                                       L"image.jpeg",
                                       L"a..b.txt"};

// What the list showed before it read its folder once: one search of the system per piece of
// the mask, every match added to a sorted list box of the system's.
TNames PerPatternRows(const std::wstring& folder, const std::wstring& mask, HWND parent) {
  struct TWindow {
    HWND Handle;
    ~TWindow() { DestroyWindow(Handle); }
    HWND Get() const { return Handle; }
  } reference{CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT | LBS_HASSTRINGS, 0, 0, 100,
                              100, parent, nullptr, nullptr, nullptr)};
  EXPECT_NE(reference.Get(), nullptr);
  for (const std::wstring& pattern : SplitMask(mask)) {
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileExW(JoinFolder(folder, pattern).c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, 0));
    if (!find) continue;
    do {
      if (entry.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        continue;
      SendMessageW(reference.Get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.cFileName));
    } while (FindNextFileW(find.Get(), &entry));
  }
  TNames rows;
  const LRESULT count = SendMessageW(reference.Get(), LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(reference.Get(), LB_GETTEXTLEN, i, 0)),
                      L'\0');
    SendMessageW(reference.Get(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    rows.push_back(text);
  }
  return rows;
}

class FileListSearchTest : public ::testing::TestWithParam<const wchar_t*> {
protected:
  void SetUp() override {
    for (const wchar_t* name : kTrickyNames)
      FTree.File(name);
    // Long names, whose sort keys are longer than most.
    FTree.File(std::wstring(150, L'm') + L".mp4");
    FTree.File(std::wstring(149, L'm') + L"n.mp4");
    FTree.File(L"M" + std::wstring(150, L'm'));
    FTree.File(L"hidden.mp4", "", FILE_ATTRIBUTE_HIDDEN);
    FTree.Folder(L"folder.mp4");
    // A piece naming a subfolder lists its matches, as a search of that piece does.
    FTree.Folder(L"sub");
    FTree.File(L"sub\\inner.txt");
    ASSERT_TRUE(SetCurrentDirectoryW(FTree.Root().c_str()));
    FHost.ShowPlain();
    FList.SetBounds({8, 8, 200, 200});
    FList.Create(FHost.Form());
  }

  TTempTree FTree{L"search"};
  THostForm FHost;
  TFileListBox FList;
};

// One listing of the folder matched against every piece gives the rows, and the order, that a
// search per piece into a sorted list box gave.
TEST_P(FileListSearchTest, OneListingShowsWhatASearchPerPieceShowed) {
  const std::wstring mask = GetParam();
  FList.SetMask(mask);
  const TNames expected = PerPatternRows(FTree.Root(), mask, FHost.Form().Handle());
  ASSERT_FALSE(expected.empty()) << "every mask here matches some file";
  EXPECT_EQ(Rows(FList), expected) << "mask \"" << Narrow(mask) << "\"";
}

// Wine's own search lacks the DOS rules of Windows for "?" and "*." (on Windows "a?.txt" also
// matches "a.txt", and "*." only names without a "."): masks that rely on them are left to the
// pure tests.
INSTANTIATE_TEST_SUITE_P(FileListMasks, FileListSearchTest,
                         ::testing::Values(kMediaMask, L"*.*", L"*", L"*.TXT", L" *.TXT", L"*.MP4",
                                           L"*.mp4;*.MP4", L"*.TXT;a*", L"a*", L"*b*", L"?.txt",
                                           L"a*.txt", L"*.HTM", L"CAF\u00C9.*", L"*.TXT.",
                                           L"*.TXT ", L"a.*", L"*.t*", L"*.MP4;sub\\*.txt;x:y",
                                           L"*.TXT;"));

// "video.mp4x" has a short name, VIDEO~1.MP4 or the like, which "*.MP4" matches: the system's
// search lists it under the media mask, and so does the one listing.
TEST_F(FileListTest, AFileMatchedByItsShortNameOnlyIsListed) {
  FTree.File(L"video.mp4x");
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW(FTree.Path(L"video.mp4x").c_str(), FindExInfoStandard, &entry,
                                   FindExSearchNameMatch, nullptr, 0));
  ASSERT_TRUE(find);
  if (!entry.cAlternateFileName[0]) GTEST_SKIP() << "this volume keeps no short names";
  Create();
  FList.SetMask(kMediaMask);
  EXPECT_EQ(Rows(FList), (TNames{L" c.txt", L"d.mp3", L"video.mp4x"}));
  FList.SetMask(L"*.MP4X");
  EXPECT_EQ(Rows(FList), (TNames{L"video.mp4x"}));
}

} // namespace
