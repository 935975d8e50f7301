// The folder list: its rows for a folder, moving to another folder (by property, by row, by a
// double-click), the folder handed to its file list, and the process's current folder, which the
// lists leave alone.
#include "WinTestSupport.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Background.h"
#include "widgets/DirectoryListBox.h"
#include "widgets/FileListBox.h"
#include <gtest/gtest.h>
#include <algorithm>
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

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The rows on the way down to a folder, spelled out from its path: the root "C:\" and then
// each name.
TNames WayDown(const std::wstring& folder) {
  TNames rows{folder.substr(0, 3)};
  size_t start = 3;
  while (start < folder.size()) {
    size_t end = folder.find(L'\\', start);
    if (end == std::wstring::npos) end = folder.size();
    rows.push_back(folder.substr(start, end - start));
    start = end + 1;
  }
  return rows;
}

TNames Concat(TNames a, const TNames& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class DirectoryListTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(FTree.Root()[1], L':') << "the temporary folder is on a drive";
    FTree.Folder(L"beta");
    FTree.Folder(L"Alpha");
    FTree.Folder(L"Gamma");
    FTree.Folder(L"delta2");
    FTree.Folder(L"zhidden", FILE_ATTRIBUTE_HIDDEN);
    FTree.Folder(L"zsystem", FILE_ATTRIBUTE_SYSTEM);
    FTree.File(L"file.txt", "x");
    FTree.File(L"beta\\in-beta.mp3", "y");
    FTree.Folder(L"beta\\deeper");
    ASSERT_TRUE(GetFileAttributesW(FTree.Path(L"zhidden").c_str()) & FILE_ATTRIBUTE_HIDDEN)
        << "this file system keeps no hidden attribute";
    ASSERT_TRUE(GetFileAttributesW(FTree.Path(L"zsystem").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(SetCurrentDirectoryW(FTree.Root().c_str()));
    FDirs.SetBounds({8, 8, 200, 250});
    FFiles.SetBounds({216, 8, 170, 250});
    FDirs.Create(FHost.Form());
    FFiles.Create(FHost.Form());
    FDirs.FileList = &FFiles;
  }

  int RowOf(const std::wstring& text) const {
    const TNames items = Rows(FDirs);
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
  }

  // A double-click on a row as the list reports it to the window.
  void DoubleClick(int row) {
    SendMessageW(FDirs.Handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(FHost.Form().Handle(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(FDirs.Handle()), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(FDirs.Handle()));
  }

  TTempTree FTree{L"dirs"};
  THostForm FHost;
  TDirectoryListBox FDirs;
  TFileListBox FFiles;
};

TEST_F(DirectoryListTest, ANewListShowsTheCurrentFolder) {
  EXPECT_EQ(FDirs.Directory(), FTree.Root());
  EXPECT_EQ(Rows(FDirs), Concat(WayDown(FTree.Root()), {L"Alpha", L"beta", L"delta2", L"Gamma"}));
}

TEST_F(DirectoryListTest, RowsAreTheWayDownThenTheSortedVisibleSubfolders) {
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
  FDirs.SetDirectory(FTree.Root() + L"\\beta");
  FDirs.SetDirectory(FTree.Root());
  const TNames way = WayDown(FTree.Root());
  // Letter case ignored in the order; hidden and system folders and files left out.
  EXPECT_EQ(Rows(FDirs), Concat(way, {L"Alpha", L"beta", L"delta2", L"Gamma"}));
  // The highlight is on the current folder's row.
  EXPECT_EQ(FDirs.ItemIndex(), static_cast<int>(way.size()) - 1);
  // The lists leave the process's current folder where it was.
  EXPECT_EQ(CurrentFolderNow(), L"C:\\");
  EXPECT_EQ(FFiles.Directory(), FTree.Root());
  EXPECT_EQ(Rows(FFiles), (TNames{L"file.txt"}));
}

TEST_F(DirectoryListTest, OnADriveRootTheRootRowIsTheCurrentRow) {
  FDirs.SetDirectory(L"C:\\");
  EXPECT_EQ(FDirs.Directory(), L"C:\\");
  const TNames items = Rows(FDirs);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0], L"C:\\");
  EXPECT_EQ(FDirs.ItemIndex(), 0);
  const bool hasWindows = std::any_of(items.begin() + 1, items.end(), [](const std::wstring& s) {
    return lstrcmpiW(s.c_str(), L"windows") == 0;
  });
  EXPECT_TRUE(hasWindows);
  EXPECT_EQ(FFiles.Directory(), L"C:\\");
}

TEST_F(DirectoryListTest, TheFolderIsTakenAsTheSystemReportsIt) {
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
  FDirs.SetDirectory(FTree.Root() + L"\\beta\\");
  EXPECT_EQ(FDirs.Directory(), FTree.Root() + L"\\beta");
  // A relative name is taken from the process's current folder, which no list moves.
  ASSERT_TRUE(SetCurrentDirectoryW(FTree.Path(L"beta").c_str()));
  FDirs.SetDirectory(L"deeper");
  EXPECT_EQ(FDirs.Directory(), FTree.Root() + L"\\beta\\deeper");
  EXPECT_EQ(CurrentFolderNow(), FTree.Path(L"beta"));
  EXPECT_EQ(FFiles.Directory(), FTree.Root() + L"\\beta\\deeper");
}

// A folder past MAX_PATH cannot be the current folder on Windows without the long-path policy:
// the lists show it, read through its "\\?\" form, and leave the current folder where it was
// (on every system alike).
TEST_F(DirectoryListTest, AFolderPastMaxPathIsShownWithoutBecomingCurrent) {
  const std::wstring deep = FTree.DeepFolder(L"pasta", 350);
  const std::wstring relative = deep.substr(FTree.Root().size() + 1);
  FTree.Folder(relative + L"\\sub2");
  FTree.Folder(relative + L"\\Sub1");
  FTree.File(relative + L"\\clip.mp4", "v");
  FTree.File(relative + L"\\notas.doc", "n");
  FFiles.SetMask(L"*.MP4");
  FDirs.SetDirectory(deep + L"\\");
  EXPECT_EQ(FDirs.Directory(), deep);
  EXPECT_EQ(Rows(FDirs), Concat(WayDown(deep), {L"Sub1", L"sub2"}));
  EXPECT_EQ(FFiles.Directory(), deep);
  EXPECT_EQ(Rows(FFiles), TNames{L"clip.mp4"});
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
  // Its subfolders open as any other; a missing one is reported.
  FDirs.SetDirectory(deep + L"\\Sub1");
  EXPECT_EQ(FDirs.Directory(), deep + L"\\Sub1");
  EXPECT_EQ(Rows(FFiles), TNames{});
  EXPECT_THROW(FDirs.SetDirectory(deep + L"\\falta"), EInOutError);
  EXPECT_THROW(FDirs.SetDirectory(deep + L"\\notas.doc"), EInOutError);
  EXPECT_EQ(FDirs.Directory(), deep + L"\\Sub1");
  FDirs.SetDirectory(FTree.Path(L"beta"));
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
}

TEST_F(DirectoryListTest, AMissingFolderRaisesAndKeepsTheList) {
  const TNames before = Rows(FDirs);
  const std::wstring missing = FTree.Path(L"missing");
  try {
    FDirs.SetDirectory(missing);
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find(missing), std::wstring::npos) << Narrow(e.Message());
  }
  EXPECT_EQ(FDirs.Directory(), FTree.Root());
  EXPECT_EQ(Rows(FDirs), before);
  EXPECT_EQ(FFiles.Directory(), FTree.Root());
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
  EXPECT_THROW(FDirs.SetDirectory(wintest::MissingDrive() + L"\\nowhere"), EInOutError);
  EXPECT_EQ(FDirs.Directory(), FTree.Root());
}

// A list holds a folder for a run only once it was pointed at one; the folder it shows from its
// creation on is merely where the process happened to be.
TEST_F(DirectoryListTest, OnlyAFolderTheListWasPointedAtIsChosen) {
  EXPECT_EQ(FDirs.ChosenDirectory(), L"");
  EXPECT_THROW(FDirs.SetDirectory(wintest::MissingDrive() + L"\\nowhere"), EInOutError);
  EXPECT_EQ(FDirs.ChosenDirectory(), L"");
  FDirs.SetDirectory(L"");
  EXPECT_EQ(FDirs.ChosenDirectory(), L"");
  // Opening the row of the folder shown moves nothing, so it chooses nothing either.
  FDirs.OpenRow(FDirs.ItemIndex());
  EXPECT_EQ(FDirs.ChosenDirectory(), L"");
  // The folder already shown is not read again, but pointing at it chooses it.
  FDirs.SetDirectory(FTree.Root());
  EXPECT_EQ(FDirs.ChosenDirectory(), FTree.Root());
  FDirs.OpenRow(RowOf(L"beta"));
  EXPECT_EQ(FDirs.ChosenDirectory(), FTree.Root() + L"\\beta");
  // A later failure keeps the chosen folder.
  EXPECT_THROW(FDirs.SetDirectory(FTree.Path(L"missing")), EInOutError);
  EXPECT_EQ(FDirs.ChosenDirectory(), FTree.Root() + L"\\beta");
}

// A folder whose server has not answered: one row says so, the list holds no choice and opens
// nothing, and a move ends the wait, even to the folder it showed before.
TEST_F(DirectoryListTest, AWaitIsOneRowAndNoChoiceUntilAMove) {
  FDirs.SetDirectory(FTree.Root());
  const std::vector<std::wstring> rows = Rows(FDirs);
  FDirs.ShowWaiting(L"N:\\obra");
  EXPECT_EQ(FDirs.Items(), std::vector<std::wstring>{L"Aguardando resposta de N:\\obra..."});
  EXPECT_EQ(FDirs.WaitingFor(), L"N:\\obra");
  EXPECT_EQ(FDirs.ChosenDirectory(), L"");
  FDirs.OpenRow(0);
  EXPECT_EQ(FDirs.WaitingFor(), L"N:\\obra") << "the waiting row opens nothing";
  FDirs.SetDirectory(FTree.Root());
  EXPECT_EQ(FDirs.WaitingFor(), L"");
  EXPECT_EQ(Rows(FDirs), rows);
  EXPECT_EQ(FDirs.ChosenDirectory(), FTree.Root());
  FDirs.ShowWaiting(L"N:\\obra");
  FDirs.ShowDirectory(FTree.Path(L"beta"));
  EXPECT_EQ(FDirs.WaitingFor(), L"");
  EXPECT_EQ(FDirs.ChosenDirectory(), L"");
  EXPECT_EQ(FDirs.Directory(), FTree.Path(L"beta"));
}

// A folder that has not answered within the window's wait (a move asked with no wait left in a
// budget stands for a slow server): the list waits for it and holds no choice; the late answer
// makes the move, or reports a folder that is not there with the list where it was; an answer
// to a move the operator has replaced by another is dropped.
TEST_F(DirectoryListTest, ALateAnswerMakesTheMoveOrIsReportedOrIsDropped) {
  FHost.ShowPlain();
  Rows(FDirs);
  // True once a move to folder is waiting for its answer; the pool may answer within no wait
  // at all, so it is tried a few times.
  const auto moveLate = [&](const std::wstring& folder) {
    for (int i = 0; i < 20; ++i) {
      try {
        const Background::TWaitBudget none(0);
        FDirs.SetDirectory(folder);
      } catch (const EInOutError&) {
      }
      if (FDirs.WaitingFor() == folder) return true;
      Rows(FDirs);
    }
    return false;
  };
  const std::wstring beta = FTree.Path(L"beta");
  ASSERT_TRUE(moveLate(beta));
  EXPECT_EQ(FDirs.Items(), TNames{L"Aguardando resposta de " + beta + L"..."});
  EXPECT_EQ(FDirs.ChosenDirectory(), L"");
  EXPECT_EQ(FFiles.Directory(), FTree.Root()) << "the file list follows once the folder answers";
  EXPECT_EQ(Rows(FDirs), Concat(WayDown(beta), {L"deeper"}));
  EXPECT_EQ(FDirs.WaitingFor(), L"");
  EXPECT_EQ(FDirs.ChosenDirectory(), beta);
  EXPECT_EQ(Rows(FFiles), TNames{L"in-beta.mp3"});

  const std::wstring missing = FTree.Path(L"missing");
  {
    wintest::TMessageBoxCloser closer;
    ASSERT_TRUE(moveLate(missing));
    EXPECT_TRUE(wintest::WaitUntil([&] { return FDirs.WaitingFor().empty(); }));
    closer.Join();
    ASSERT_TRUE(closer.Found()) << "no error report shown";
    EXPECT_NE(closer.Text().find(missing), std::wstring::npos) << Narrow(closer.Text());
  }
  EXPECT_EQ(FDirs.Directory(), beta);
  EXPECT_EQ(FDirs.ChosenDirectory(), beta);
  EXPECT_EQ(Rows(FDirs), Concat(WayDown(beta), {L"deeper"}));

  ASSERT_TRUE(moveLate(FTree.Path(L"Gamma")));
  FDirs.SetDirectory(FTree.Path(L"Alpha"));
  EXPECT_EQ(FDirs.WaitingFor(), L"");
  wintest::WaitUntil([] { return false; }, 300); // the late answer comes meanwhile
  EXPECT_EQ(FDirs.Directory(), FTree.Path(L"Alpha"));
  EXPECT_EQ(FFiles.Directory(), FTree.Path(L"Alpha"));
}

TEST_F(DirectoryListTest, TheSameFolderOrAnEmptyNameChangesNothing) {
  // The current folder is moved away behind the list's back: only a real move would bring
  // it back.
  const std::wstring elsewhere = FTree.Path(L"Alpha");
  ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.c_str()));
  const int reads = FFiles.ReadCount();
  FDirs.SetDirectory(Upper(FTree.Root()));
  FDirs.SetDirectory(FTree.Root());
  FDirs.SetDirectory(L"");
  EXPECT_EQ(FDirs.Directory(), FTree.Root());
  EXPECT_EQ(CurrentFolderNow(), elsewhere);
  EXPECT_EQ(FFiles.ReadCount(), reads);
}

TEST_F(DirectoryListTest, OpeningASubfolderRowMovesTheListAndItsFileList) {
  const int beta = RowOf(L"beta");
  ASSERT_GE(beta, 0);
  FDirs.OpenRow(beta);
  const std::wstring target = FTree.Path(L"beta");
  EXPECT_EQ(FDirs.Directory(), target);
  EXPECT_EQ(Rows(FDirs), Concat(WayDown(target), {L"deeper"}));
  EXPECT_EQ(FDirs.ItemIndex(), static_cast<int>(WayDown(target).size()) - 1);
  EXPECT_EQ(FFiles.Directory(), target);
  EXPECT_EQ(Rows(FFiles), (TNames{L"in-beta.mp3"}));
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
}

TEST_F(DirectoryListTest, OpeningRowsOnTheWayDownMovesUp) {
  const TNames way = WayDown(FTree.Root());
  ASSERT_GE(way.size(), 3u);
  // The parent's row.
  FDirs.OpenRow(static_cast<int>(way.size()) - 2);
  const std::wstring parent = FTree.Root().substr(0, FTree.Root().find_last_of(L'\\'));
  EXPECT_EQ(FDirs.Directory(), parent);
  EXPECT_EQ(FFiles.Directory(), parent);
  // The current row opens the folder shown: nothing changes.
  const int reads = FFiles.ReadCount();
  FDirs.OpenRow(FDirs.ItemIndex());
  EXPECT_EQ(FDirs.Directory(), parent);
  EXPECT_EQ(FFiles.ReadCount(), reads);
  // The root row.
  FDirs.OpenRow(0);
  EXPECT_EQ(FDirs.Directory(), FTree.Root().substr(0, 3));
}

TEST_F(DirectoryListTest, ADoubleClickOpensTheRow) {
  const int gamma = RowOf(L"Gamma");
  ASSERT_GE(gamma, 0);
  DoubleClick(gamma);
  EXPECT_EQ(FDirs.Directory(), FTree.Path(L"Gamma"));
  EXPECT_EQ(FFiles.Directory(), FTree.Path(L"Gamma"));
}

TEST_F(DirectoryListTest, ADoubleClickOnAVanishedFolderIsReportedAndTheListStays) {
  const int gamma = RowOf(L"Gamma");
  ASSERT_GE(gamma, 0);
  ASSERT_TRUE(RemoveDirectoryW(FTree.Path(L"Gamma").c_str()));
  {
    TMessageBoxCloser closer;
    DoubleClick(gamma); // returns once the error box has been closed
    closer.Join();
    ASSERT_TRUE(closer.Found()) << "no error report shown";
    EXPECT_NE(closer.Text().find(FTree.Path(L"Gamma")), std::wstring::npos)
        << Narrow(closer.Text());
  }
  EXPECT_EQ(FDirs.Directory(), FTree.Root());
  EXPECT_EQ(FFiles.Directory(), FTree.Root());
  EXPECT_EQ(CurrentFolderNow(), FTree.Root());
}

// A move of the folder list lists the moved-to folder once for both lists, whichever of them
// reads first: on screen (both read at once) or while the window is set up (each reads when
// looked at). The file list moved by itself, or given another mask, lists by itself.
TEST_F(DirectoryListTest, AMoveListsTheFolderOnceForBothLists) {
  FTree.File(L"beta\\clip.mp4");
  FTree.File(L"beta\\hidden.mp4", {}, FILE_ATTRIBUTE_HIDDEN);
  FTree.Folder(L"beta\\zsystem", FILE_ATTRIBUTE_SYSTEM);
  const std::wstring beta = FTree.Path(L"beta");
  const TNames betaFolders = Concat(WayDown(beta), {L"deeper"});
  const TNames betaFiles{L"clip.mp4", L"in-beta.mp3"};
  const auto listings = [&] { return FDirs.ListingCount() + FFiles.ListingCount(); };
  struct TCase {
    const char* Name;
    bool Shown;
    bool FilesFirst;
  };
  for (const TCase& c :
       {TCase{"set up, folders looked at first", false, false},
        TCase{"set up, files looked at first", false, true}, TCase{"on screen", true, false}}) {
    SCOPED_TRACE(c.Name);
    if (c.Shown) FHost.ShowPlain();
    FDirs.SetDirectory(FTree.Root());
    Rows(FDirs); // both lists read what waits
    Rows(FFiles);
    const int before = listings();
    const int reads = FFiles.ReadCount();
    FDirs.SetDirectory(beta);
    if (c.FilesFirst) EXPECT_EQ(Rows(FFiles), betaFiles);
    EXPECT_EQ(Rows(FDirs), betaFolders);
    EXPECT_EQ(Rows(FFiles), betaFiles);
    EXPECT_EQ(listings(), before + 1);
    EXPECT_EQ(FFiles.ReadCount(), reads + 1);
  }
  // The file list alone lists by itself, as often as it reads.
  const int dirListings = FDirs.ListingCount();
  const int fileListings = FFiles.ListingCount();
  FFiles.SetMask(L"*.mp3");
  EXPECT_EQ(Rows(FFiles), (TNames{L"in-beta.mp3"}));
  FFiles.SetDirectory(FTree.Root());
  EXPECT_EQ(Rows(FFiles), TNames{});
  FFiles.SetMask(L"*.*");
  EXPECT_EQ(Rows(FFiles), (TNames{L"file.txt"}));
  EXPECT_EQ(FFiles.ListingCount(), fileListings + 3);
  EXPECT_EQ(FDirs.ListingCount(), dirListings);
}

// A mask changed after the folder list has read the moved-to folder, but before its file list
// has: the file list reads the folder afresh, with the new mask.
TEST_F(DirectoryListTest, AMaskChangedBeforeTheFileListReadsListsAfresh) {
  FDirs.SetDirectory(FTree.Path(L"beta"));
  EXPECT_EQ(Rows(FDirs), Concat(WayDown(FTree.Path(L"beta")), {L"deeper"}));
  FTree.File(L"beta\\late.txt");
  const int fileListings = FFiles.ListingCount();
  FFiles.SetMask(L"*.txt;*.mp3");
  EXPECT_EQ(Rows(FFiles), (TNames{L"in-beta.mp3", L"late.txt"}));
  EXPECT_EQ(FFiles.ListingCount(), fileListings + 1);
}

} // namespace
