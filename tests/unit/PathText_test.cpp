#include "funcoes/pure/PathText.h"
#include <gtest/gtest.h>
#include <string>

namespace {
std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}
} // namespace

TEST(PathText, RootOfEachForm) {
  using K = TPathRootKind;
  const struct {
    std::wstring path;
    TPathRootKind kind;
    size_t length;
    std::wstring server, share;
    bool namesVolume;
  } cases[] = {
      {L"C:\\Tools\\Sync", K::Drive, 2, L"", L"", true},
      {L"C:", K::Drive, 2, L"", L"", true},
      {L"C:A", K::Drive, 2, L"", L"", true},
      {L"1:\\", K::Drive, 2, L"", L"", true}, // any character: callers that care check the letter
      {L"\\\\server\\share\\tools", K::Share, 14, L"server", L"share", true},
      {L"\\\\server\\share", K::Share, 14, L"server", L"share", true},
      {L"\\\\server\\", K::Share, 9, L"server", L"", false},
      {L"\\\\server\\\\x", K::Share, 9, L"server", L"", false},
      {L"\\\\server", K::Share, 8, L"server", L"", false},
      {L"\\\\\\share", K::Share, 8, L"", L"share", false},
      {L"\\\\?\\C:\\x", K::Share, 6, L"?", L"C:", true},
      {L"\\\\", K::Share, 2, L"", L"", false},
      {L"\\A", K::Rooted, 1, L"", L"", false},
      {L"\\", K::Rooted, 1, L"", L"", false},
      {L"relative", K::Relative, 0, L"", L"", false},
      {L"C/x", K::Relative, 0, L"", L"", false},
      {L"", K::Relative, 0, L"", L"", false},
  };
  for (const auto& c : cases) {
    const TPathRoot root = ParsePathRoot(c.path);
    EXPECT_EQ(root.Kind, c.kind) << Narrow(c.path);
    EXPECT_EQ(root.Length, c.length) << Narrow(c.path);
    EXPECT_EQ(root.Server, c.server) << Narrow(c.path);
    EXPECT_EQ(root.Share, c.share) << Narrow(c.path);
    EXPECT_EQ(root.NamesVolume(), c.namesVolume) << Narrow(c.path);
  }
}

TEST(PathText, JoinFolderNeverDoublesTheSeparator) {
  EXPECT_EQ(JoinFolder(L"C:\\", L"A"), L"C:\\A");
  EXPECT_EQ(JoinFolder(L"C:\\A", L"B"), L"C:\\A\\B");
  EXPECT_EQ(JoinFolder(L"C:\\x", L"a"), L"C:\\x\\a");
  EXPECT_EQ(JoinFolder(L"\\\\srv\\share", L"*"), L"\\\\srv\\share\\*");
  EXPECT_EQ(JoinFolder(L"", L"A"), L"A");
}
