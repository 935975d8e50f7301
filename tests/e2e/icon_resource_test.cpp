// The built executable's icons as Explorer and shortcuts find them: the first icon group is
// MAINICON, with its twelve images.
#include "tests/e2e/Operator.h"
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

#pragma pack(push, 2)
struct TGroupIconHeader {
  WORD Reserved;
  WORD Type;
  WORD Count;
};
struct TGroupIconEntry {
  BYTE Width;
  BYTE Height;
  BYTE ColourCount;
  BYTE Reserved;
  WORD Planes;
  WORD BitCount;
  DWORD BytesInRes;
  WORD Id;
};
#pragma pack(pop)

class IconResources : public ::testing::Test {
protected:
  void SetUp() override {
    FModule = LoadLibraryExW(REPLIMAR_EXE_PATH, nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, FModule) << "cannot read the executable, error " << GetLastError();
  }
  void TearDown() override {
    if (FModule) FreeLibrary(FModule);
  }
  HMODULE FModule = nullptr;
};

// Icon groups in the order the executable holds them ("#n" for a numbered one).
std::vector<std::wstring> IconGroups(HMODULE module) {
  std::vector<std::wstring> names;
  EnumResourceNamesW(
      module, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR data) -> BOOL {
        auto& out = *reinterpret_cast<std::vector<std::wstring>*>(data);
        out.push_back(IS_INTRESOURCE(name)
                          ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                          : std::wstring(name));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  return names;
}

TEST_F(IconResources, TheFirstIconGroupIsMainIcon) {
  const auto groups = IconGroups(FModule);
  ASSERT_FALSE(groups.empty());
  EXPECT_EQ("MAINICON", e2e::Utf8(groups.front()));
  EXPECT_EQ(2u, groups.size()) << "MAINICON and the window's icon";
}

TEST_F(IconResources, MainIconHoldsTwelveImages) {
  HRSRC resource = FindResourceW(FModule, L"MAINICON", RT_GROUP_ICON);
  ASSERT_NE(nullptr, resource);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(FModule, resource)));
  ASSERT_NE(nullptr, bytes);
  const auto* header = reinterpret_cast<const TGroupIconHeader*>(bytes);
  ASSERT_EQ(12, header->Count);
  ASSERT_GE(SizeofResource(FModule, resource),
            sizeof(TGroupIconHeader) + header->Count * sizeof(TGroupIconEntry));
  const auto* entries = reinterpret_cast<const TGroupIconEntry*>(bytes + sizeof(TGroupIconHeader));
  std::set<std::pair<int, int>> seen; // side, bits per pixel
  for (int i = 0; i < header->Count; ++i) {
    const int side = entries[i].Width == 0 ? 256 : entries[i].Width;
    EXPECT_EQ(entries[i].Width, entries[i].Height);
    seen.insert({side, entries[i].BitCount});
  }
  const std::set<std::pair<int, int>> expected = {{16, 8},  {24, 8},  {32, 8},   {48, 8},
                                                  {64, 8},  {16, 32}, {24, 32},  {32, 32},
                                                  {48, 32}, {64, 32}, {128, 32}, {256, 32}};
  EXPECT_EQ(expected, seen);
}

} // namespace
