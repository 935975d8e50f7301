#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {
// A file system of folder names: creation succeeds when the parent exists.
struct TFakeFolders {
  std::set<std::wstring> Existing;
  std::vector<std::wstring> Created;
  bool Exists(const std::wstring& name) const { return Existing.count(name) > 0; }
  bool Create(const std::wstring& name) {
    if (name.empty() || Exists(name)) return false;
    const std::wstring parent = FolderParentPart(name);
    std::wstring trimmed = parent;
    if (!trimmed.empty() && trimmed.back() == L'\\') trimmed.pop_back();
    if (!trimmed.empty() && !Exists(trimmed)) return false;
    Existing.insert(name);
    Created.push_back(name);
    return true;
  }
  bool Run(const std::wstring& name) {
    return CreateFolderPathWith(
        name, [this](const std::wstring& n) { return Exists(n); },
        [this](const std::wstring& n) { return Create(n); });
  }
};
} // namespace

TEST(CreateFolderPath, CreatesMissingParentsFromTheTopDown) {
  TFakeFolders fs{{L"D:"}, {}};
  EXPECT_TRUE(fs.Run(L"D:\\A\\B\\"));
  EXPECT_EQ(fs.Created, (std::vector<std::wstring>{L"D:\\A", L"D:\\A\\B"}));
}

TEST(CreateFolderPath, LeavesAnExistingFolderAlone) {
  TFakeFolders fs{{L"C:", L"C:\\TMP"}, {}};
  EXPECT_TRUE(fs.Run(L"C:\\TMP"));
  EXPECT_TRUE(fs.Created.empty());
}

TEST(CreateFolderPath, AFolderBelowTheBareRootIsNeverCreated) {
  // Whatever its length: a three-character name such as "\TV" is no drive and no root either.
  for (const wchar_t* name : {L"\\videos", L"\\TV\\x", L"\\TV"}) {
    TFakeFolders fs{{L"C:"}, {}};
    EXPECT_FALSE(fs.Run(name)) << ::testing::PrintToString(std::wstring(name));
    EXPECT_TRUE(fs.Created.empty()) << ::testing::PrintToString(std::wstring(name));
  }
}

TEST(CreateFolderPath, AMissingDriveGivesFalseWithoutAnError) {
  TFakeFolders fs{{L"C:"}, {}};
  EXPECT_FALSE(fs.Run(L"Q:\\A\\B"));
}

TEST(CreateFolderPath, AnEmptyNameRaisesWithEmptyBrackets) {
  TFakeFolders fs;
  try {
    fs.Run(L"");
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), L"Unable to create directory\r\n[]");
  }
}

TEST(CreateFolderPath, ALongestStoredNameIsWalkedWithoutDeepCallsOrCopies) {
  // 32,767 characters of "C:\a\a\...": some 16,000 levels, each missing.
  std::wstring name = L"C:";
  while (name.size() + 2 <= 32767)
    name += L"\\a";
  size_t asked = 0, made = 0;
  const bool result = CreateFolderPathWith(
      name,
      [&](const std::wstring& folder) {
        ++asked;
        return folder == L"C:";
      },
      [&](const std::wstring& folder) {
        ++made;
        return folder.size() < 248; // the file system refuses longer names
      });
  EXPECT_FALSE(result);
  EXPECT_EQ(asked, (name.size() - 2) / 2 + 1);
  // "C:\a" (4) to 246 characters: 122 folders made, then the first refusal ends it.
  EXPECT_EQ(made, 123u);
}
