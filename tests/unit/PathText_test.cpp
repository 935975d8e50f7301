#include "funcoes/pure/PathText.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}
std::vector<std::wstring> Names(const std::vector<TPathRow>& rows) {
  std::vector<std::wstring> names;
  for (const auto& r : rows)
    names.push_back(r.Name);
  return names;
}
std::vector<std::wstring> Paths(const std::vector<TPathRow>& rows) {
  std::vector<std::wstring> paths;
  for (const auto& r : rows)
    paths.push_back(r.Path);
  return paths;
}
} // namespace

TEST(PathText, RootOfEachForm) {
  using K = TPathRootKind;
  const struct {
    std::wstring path;
    TPathRootKind kind;
    size_t length;
    std::wstring server, share;
    bool namesVolume, letter, separated, device;
  } cases[] = {
      {L"C:\\Tools\\Sync", K::Drive, 2, L"", L"", true, true, true, false},
      {L"C:", K::Drive, 2, L"", L"", true, true, false, false},
      {L"C:A", K::Drive, 2, L"", L"", true, true, false, false},
      {L"c:\\", K::Drive, 2, L"", L"", true, true, true, false},
      // any character: callers that care check the letter
      {L"1:\\", K::Drive, 2, L"", L"", true, false, true, false},
      {L"\\\\server\\share\\tools", K::Share, 14, L"server", L"share", true, false, true, false},
      {L"\\\\server\\share", K::Share, 14, L"server", L"share", true, false, false, false},
      {L"\\\\server\\", K::Share, 9, L"server", L"", false, false, false, false},
      {L"\\\\server\\\\x", K::Share, 9, L"server", L"", false, false, true, false},
      {L"\\\\server", K::Share, 8, L"server", L"", false, false, false, false},
      {L"\\\\\\share", K::Share, 8, L"", L"share", false, false, false, false},
      {L"\\\\?\\C:\\x", K::Share, 6, L"?", L"C:", true, false, true, true},
      {L"\\\\.\\pipe", K::Share, 8, L".", L"pipe", true, false, false, true},
      {L"\\\\", K::Share, 2, L"", L"", false, false, false, false},
      {L"\\A", K::Rooted, 1, L"", L"", false, false, false, false},
      {L"\\", K::Rooted, 1, L"", L"", false, false, false, false},
      {L"relative", K::Relative, 0, L"", L"", false, false, false, false},
      {L"a\\", K::Relative, 0, L"", L"", false, false, false, false}, // one "\", not two
      {L"C/x", K::Relative, 0, L"", L"", false, false, false, false},
      {L"", K::Relative, 0, L"", L"", false, false, false, false},
  };
  for (const auto& c : cases) {
    const TPathRoot root = ParsePathRoot(c.path);
    EXPECT_EQ(root.Kind, c.kind) << Narrow(c.path);
    EXPECT_EQ(root.Length, c.length) << Narrow(c.path);
    EXPECT_EQ(root.Server, c.server) << Narrow(c.path);
    EXPECT_EQ(root.Share, c.share) << Narrow(c.path);
    EXPECT_EQ(root.NamesVolume(), c.namesVolume) << Narrow(c.path);
    EXPECT_EQ(root.Letter, c.letter) << Narrow(c.path);
    EXPECT_EQ(root.Separated, c.separated) << Narrow(c.path);
    EXPECT_EQ(root.IsDevice(), c.device) << Narrow(c.path);
  }
}

TEST(PathText, JoinFolderNeverDoublesTheSeparator) {
  EXPECT_EQ(JoinFolder(L"C:\\", L"A"), L"C:\\A");
  EXPECT_EQ(JoinFolder(L"C:\\A", L"B"), L"C:\\A\\B");
  EXPECT_EQ(JoinFolder(L"C:\\x", L"a"), L"C:\\x\\a");
  EXPECT_EQ(JoinFolder(L"\\\\srv\\share", L"*"), L"\\\\srv\\share\\*");
  EXPECT_EQ(JoinFolder(L"", L"A"), L"A");
}

TEST(PathText, ParentExecutableFolderAndDriveRoot) {
  EXPECT_EQ(FolderParentPart(L"D:\\A\\B"), L"D:\\A\\");
  EXPECT_EQ(FolderParentPart(L"D:A"), L"D:");
  EXPECT_EQ(FolderParentPart(L"abc"), L"");
  EXPECT_EQ(ExecutableFolder(L"C:\\Tools\\Sync\\ReplimarKORVELL.exe"), L"C:\\Tools\\Sync");
  EXPECT_EQ(ExecutableFolder(L"C:\\ReplimarKORVELL.exe"), L"C:");
  EXPECT_EQ(DriveRootOf(L"C:\\Tools\\Sync"), L"C:\\");
  EXPECT_EQ(DriveRootOf(L"C:"), L"C:\\");
  EXPECT_EQ(DriveRootOf(L"\\\\server\\share\\tools"), L"\\\\server\\share\\");
  EXPECT_EQ(DriveRootOf(L"\\\\server\\share"), L"\\\\server\\share\\");
  EXPECT_EQ(DriveRootOf(L"relative"), L"");
  // A server without a share is no root; it must not come back as "\\server\\".
  EXPECT_EQ(DriveRootOf(L"\\\\server\\"), L"");
}

TEST(PathText, WithoutLongPathPrefixGivesThePlainForm) {
  const struct {
    std::wstring path, plain;
  } cases[] = {
      {L"\\\\?\\C:\\Dados", L"C:\\Dados"},
      {L"\\\\?\\UNC\\srv\\sh\\p", L"\\\\srv\\sh\\p"},
      {L"\\\\?\\unc\\srv\\sh", L"\\\\srv\\sh"},
      {L"\\\\?\\UNC", L"UNC"}, // no share after it: a name like any other
      {L"\\\\?\\UNCX\\a", L"UNCX\\a"},
      {L"\\\\?\\", L""},
      {L"\\\\?", L"\\\\?"},
      {L"\\\\.\\C:\\x", L"\\\\.\\C:\\x"},
      {L"\\\\srv\\sh", L"\\\\srv\\sh"},
      {L"C:\\A", L"C:\\A"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithoutLongPathPrefix(c.path), c.plain) << Narrow(c.path);
}

TEST(PathRows, RootThenEachFolderOnTheWayDown) {
  const auto rows = PathRows(L"C:\\Tools\\Sync");
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"C:\\", L"Tools", L"Sync"}));
  EXPECT_EQ(Paths(rows), (std::vector<std::wstring>{L"C:\\", L"C:\\Tools", L"C:\\Tools\\Sync"}));
}

TEST(PathRows, DriveRootIsItsOwnOnlyRow) {
  for (const wchar_t* root : {L"D:\\", L"D:"}) {
    const auto rows = PathRows(root);
    ASSERT_EQ(rows.size(), 1u) << Narrow(root);
    EXPECT_EQ(rows[0].Path, L"D:\\");
  }
}

TEST(PathRows, NetworkPathsStartAtTheShareRoot) {
  const auto rows = PathRows(L"\\\\server\\share\\media");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"\\\\server\\share", L"media"}));
  EXPECT_EQ(rows[1].Path, L"\\\\server\\share\\media");
}

TEST(CountBackslashes, CountsEverySeparator) {
  EXPECT_EQ(CountBackslashes(L"C:\\"), 1);
  EXPECT_EQ(CountBackslashes(L"C:\\A\\B"), 2);
}
