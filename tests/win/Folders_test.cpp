// Folder tests and creation of the folder selection.
#include "WinTestSupport.h"
#include "funcoes/Folders.h"
#include "funcoes/pure/Exception.h"
#include <gtest/gtest.h>
#include <string>

namespace {

using wintest::IsFolder;
using wintest::MissingDrive;
using wintest::Narrow;
using wintest::PathPresent;
using wintest::TTempTree;

class FoldersTest : public ::testing::Test {
protected:
  TTempTree FTree{L"folders"};
};

TEST_F(FoldersTest, FolderExistsOnlyForFolders) {
  const std::wstring folder = FTree.Folder(L"videos");
  const std::wstring hidden = FTree.Folder(L"hidden", FILE_ATTRIBUTE_HIDDEN);
  const std::wstring file = FTree.File(L"clip.mp4", "x");
  const struct {
    std::wstring Name;
    bool Exists;
  } cases[] = {
      {folder, true},
      {folder + L"\\", true},
      {hidden, true},
      {FTree.Root().substr(0, 3), true}, // the drive root "C:\"
      {file, false},
      {FTree.Path(L"missing"), false},
      {FTree.Path(L"missing\\deeper"), false},
      {L"", false},
      {MissingDrive() + L"\\", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FolderExists(c.Name), c.Exists) << "\"" << Narrow(c.Name) << "\"";
}

TEST_F(FoldersTest, ALinkToAFolderExistsOnlyWhileItsTargetDoes) {
  const std::wstring target = FTree.Folder(L"target");
  const std::wstring link = FTree.Path(L"link");
  if (!CreateSymbolicLinkW(link.c_str(), target.c_str(),
                           SYMBOLIC_LINK_FLAG_DIRECTORY |
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
    GTEST_SKIP() << "no folder links here (error " << GetLastError() << ")";
  // Some systems answer success without making the link.
  const DWORD attributes = GetFileAttributesW(link.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "folder links are not made here";
  EXPECT_TRUE(FolderExists(link));
  ASSERT_TRUE(RemoveDirectoryW(target.c_str()));
  EXPECT_FALSE(FolderExists(link));
}

TEST_F(FoldersTest, CreatesAFolderWithItsMissingParents) {
  const std::wstring nested = FTree.Path(L"a\\b b\\c\u00e9");
  EXPECT_TRUE(CreateFolderPath(nested));
  EXPECT_TRUE(IsFolder(FTree.Path(L"a")));
  EXPECT_TRUE(IsFolder(FTree.Path(L"a\\b b")));
  EXPECT_TRUE(IsFolder(nested));
  // One trailing "\" is allowed.
  EXPECT_TRUE(CreateFolderPath(FTree.Path(L"d\\e\\")));
  EXPECT_TRUE(IsFolder(FTree.Path(L"d\\e")));
}

TEST_F(FoldersTest, AnExistingFolderIsLeftAlone) {
  const std::wstring folder = FTree.Folder(L"TMP");
  const std::wstring inside = FTree.File(L"TMP\\keep.txt", "keep");
  EXPECT_TRUE(CreateFolderPath(folder));
  EXPECT_TRUE(CreateFolderPath(folder + L"\\"));
  EXPECT_TRUE(PathPresent(inside));
  // The drive itself counts as existing.
  EXPECT_TRUE(CreateFolderPath(FTree.Root().substr(0, 3)));
}

TEST_F(FoldersTest, AFolderBelowTheRootOfTheCurrentDriveIsNeverCreated) {
  ASSERT_TRUE(SetCurrentDirectoryW(FTree.Root().c_str()));
  const std::wstring onDrive = FTree.Root().substr(0, 2) + L"\\videos";
  if (PathPresent(onDrive)) GTEST_SKIP() << Narrow(onDrive) << " exists already";
  EXPECT_FALSE(CreateFolderPath(L"\\videos"));
  EXPECT_FALSE(PathPresent(onDrive));
  EXPECT_FALSE(CreateFolderPath(L"\\videos\\deeper"));
  EXPECT_FALSE(PathPresent(onDrive));
}

TEST_F(FoldersTest, AnEmptyNameRaises) {
  try {
    CreateFolderPath(L"");
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), L"Unable to create directory\r\n[]") << Narrow(e.Message());
  }
}

TEST_F(FoldersTest, WhatCannotBeCreatedAnswersFalseWithoutAnError) {
  const std::wstring file = FTree.File(L"clip.mp4", "x");
  const std::wstring drive = MissingDrive();
  const std::wstring cases[] = {
      drive + L"\\a",         // a drive that does not exist
      drive + L"\\a\\b",      // and below it
      drive,                  // the bare drive
      file,                   // a file of that name is in the way
      file + L"\\inside",     // a file where a parent should be
      FTree.Path(L"bad|name") // a name the system refuses
  };
  for (const std::wstring& name : cases) {
    bool created = true;
    EXPECT_NO_THROW(created = CreateFolderPath(name)) << Narrow(name);
    EXPECT_FALSE(created) << Narrow(name);
  }
  EXPECT_FALSE(IsFolder(file));
}

} // namespace

// Past MAX_PATH the folders are made and found through their "\\?\" form, which needs no
// long-path policy.
TEST(CreateFolderPathLimits, AFolderPastMaxPathIsCreatedWithItsParents) {
  wintest::TTempTree tree(L"long");
  const std::wstring existing = tree.DeepFolder(L"nivel", 300);
  EXPECT_TRUE(FolderExists(existing));
  EXPECT_TRUE(FolderExists(existing + L"\\"));
  EXPECT_FALSE(FolderExists(existing + L"\\falta"));
  const std::wstring file = tree.File(existing.substr(tree.Root().size() + 1) + L"\\f.txt", "x");
  EXPECT_FALSE(FolderExists(file));

  std::wstring missing = existing;
  while (missing.size() < 350)
    missing += L"\\novo-" + std::wstring(20, L'n');
  EXPECT_TRUE(CreateFolderPath(missing));
  EXPECT_TRUE(FolderExists(missing));
  EXPECT_TRUE(wintest::IsFolder(L"\\\\?\\" + missing));
  EXPECT_TRUE(CreateFolderPath(missing + L"\\")) << "an existing folder, with its \"\\\"";
  EXPECT_FALSE(CreateFolderPath(file + L"\\dentro")) << "a file is in the way";
}

// The longest path the system takes, in any form, is 32,767 characters: a longer name is
// refused at once, without making any of its thousands of levels.
TEST(CreateFolderPathLimits, ANameLongerThanTheSystemTakesIsNotMade) {
  wintest::TTempTree tree(L"longest");
  std::wstring name = tree.Root() + L"\\nivel";
  while (name.size() + 2 <= 32767)
    name += L"\\a";
  name.resize(32767, L'b');
  EXPECT_FALSE(CreateFolderPath(name));
  EXPECT_FALSE(wintest::PathPresent(tree.Path(L"nivel"))) << "no level of it is created";
  EXPECT_FALSE(FolderExists(name));
}

// The "\\?\" form names every folder literally: past MAX_PATH a folder named as a device
// ("AUX", "COM1") is found and made as the folder itself, where the plain form, which the
// system folds, would name the device. Wine takes plain paths of any length, so this is where
// the form shows under Wine.
TEST(CreateFolderPathLimits, PastMaxPathAFolderIsNamedLiterally) {
  wintest::TTempTree tree(L"literal");
  const std::wstring deep = tree.DeepFolder(L"nivel", 300);
  const std::wstring device = deep + L"\\AUX";
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + device).c_str(), nullptr));
  EXPECT_TRUE(FolderExists(device));
  EXPECT_TRUE(CreateFolderPath(device + L"\\dentro"));
  EXPECT_TRUE(wintest::IsFolder(L"\\\\?\\" + device + L"\\dentro"));
  EXPECT_TRUE(CreateFolderPath(deep + L"\\COM1"));
  EXPECT_TRUE(wintest::IsFolder(L"\\\\?\\" + deep + L"\\COM1"));
}
