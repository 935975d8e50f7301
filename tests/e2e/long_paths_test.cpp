// Folders deeper than MAX_PATH, end to end: a stored source and destination of 350
// characters, the destination created by the window's show, both lists on them, and a run that
// mirrors into it with the plain form of both folders in the tool's command.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/FaultSupport.h"
#include "ui/pure/SyncCommand.h"
#include <gtest/gtest.h>

namespace {

using namespace e2e;

std::wstring ListRow(HWND list, LRESULT index) {
  const auto rows = ListItems(list);
  return index >= 0 && static_cast<size_t>(index) < rows.size() ? rows[static_cast<size_t>(index)]
                                                                : std::wstring();
}

// A path of exactly length characters below base, of folders named stem, a number and "x"s.
std::wstring DeepFolder(const std::wstring& base, const std::wstring& stem, size_t length) {
  std::wstring folder = base;
  for (int level = 0; folder.size() < length; ++level) {
    const size_t left = length - folder.size() - 1;
    std::wstring name = stem + L"-" + std::to_wstring(level) + L"-";
    name.resize(left <= 60 ? left : 50, L'x');
    folder += L"\\" + name;
  }
  return folder;
}

bool MakeFolders(const std::wstring& base, const std::wstring& folder) {
  for (size_t at = base.size() + 1; at <= folder.size(); ++at)
    if (at == folder.size() || folder[at] == L'\\')
      if (!CreateDirectoryW((L"\\\\?\\" + folder.substr(0, at)).c_str(), nullptr) &&
          GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
  return true;
}

std::wstring LastName(const std::wstring& folder) {
  return folder.substr(folder.rfind(L'\\') + 1);
}

using LongPaths = TMirrorTest;

// A source and a destination of 350 characters: the window's show creates the missing
// destination, both lists show their folders, and a run mirrors into it with the plain form of
// both folders in the tool's command.
TEST_F(LongPaths, ASourceAndADestinationOf350CharactersAreMirrored) {
  const std::wstring source = DeepFolder(FRoot, L"origem", 350);
  const std::wstring destination = DeepFolder(FRoot, L"destino", 350);
  ASSERT_TRUE(MakeFolders(FRoot, source));
  WriteFile(L"\\\\?\\" + source + L"\\um.mp4", "clipe");
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + source + L"\\sub").c_str(), nullptr));
  WriteFile(L"\\\\?\\" + source + L"\\sub\\dois.txt", "texto");
  RegistryValue(L"escrever", L"storage_Origem", source);
  RegistryValue(L"escrever", L"storage_Destino", destination);

  EXPECT_EQ(StartThroughReport(), L"");
  EXPECT_NE(GetFileAttributesW((L"\\\\?\\" + destination).c_str()), INVALID_FILE_ATTRIBUTES)
      << "the window's show creates the destination";
  const auto current = [](HWND list) {
    return ListRow(list, static_cast<LRESULT>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
  };
  EXPECT_EQ(current(FApp->SourceDirectoryList()), LastName(source));
  EXPECT_EQ(current(FApp->DestinationDirectoryList()), LastName(destination));
  EXPECT_EQ(ListItems(FApp->SourceFileList()), std::vector<std::wstring>{L"um.mp4"});

  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  const std::wstring command = L"Comando: " + BuildSyncCommand(source, destination, LogPath());
  EXPECT_TRUE(
      WaitFor([&] { return FApp->LogText().find(command) != std::wstring::npos; }, kActionTimeout))
      << Utf8(FApp->LogText());
  EXPECT_TRUE(WaitFor(
      [&] {
        return ReadFileBytes(L"\\\\?\\" + destination + L"\\um.mp4") == "clipe" &&
               ReadFileBytes(L"\\\\?\\" + destination + L"\\sub\\dois.txt") == "texto";
      },
      kStartTimeout))
      << Utf8(FApp->LogText());
  // The count found the files below the long source (none found would leave the gauge at 0%).
  EXPECT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"100%"; }, kActionTimeout))
      << Utf8(FApp->GaugeText());
  ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
  EXPECT_EQ(FApp->Close(), 0u);
}

} // namespace
