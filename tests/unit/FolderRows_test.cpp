#include "widgets/pure/FolderRows.h"
#include <gtest/gtest.h>

namespace {
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

TEST(PathRows, RootThenEachFolderOnTheWayDown) {
  const auto rows = PathRows(L"C:\\Tools\\Sync");
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"C:\\", L"Tools", L"Sync"}));
  EXPECT_EQ(Paths(rows), (std::vector<std::wstring>{L"C:\\", L"C:\\Tools", L"C:\\Tools\\Sync"}));
}

TEST(PathRows, DriveRootIsItsOwnOnlyRow) {
  const auto rows = PathRows(L"D:\\");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Path, L"D:\\");
}

TEST(PathRows, NetworkPathsStartAtTheShareRoot) {
  const auto rows = PathRows(L"\\\\server\\share\\media");
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"\\\\server\\share", L"media"}));
  EXPECT_EQ(rows[1].Path, L"\\\\server\\share\\media");
}

TEST(SplitMask, KeepsEveryPieceAsWritten) {
  const auto pieces = SplitMask(L"*.MBD; *.TXT;*.MP2");
  EXPECT_EQ(pieces, (std::vector<std::wstring>{L"*.MBD", L" *.TXT", L"*.MP2"}));
  EXPECT_EQ(SplitMask(L"*.*"), (std::vector<std::wstring>{L"*.*"}));
  EXPECT_EQ(SplitMask(L"a;;b;"), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
}

TEST(CountBackslashes, CountsEverySeparator) {
  EXPECT_EQ(CountBackslashes(L"C:\\"), 1);
  EXPECT_EQ(CountBackslashes(L"C:\\A\\B"), 2);
}
