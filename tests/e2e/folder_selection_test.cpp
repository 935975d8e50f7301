// The window's first showing and the two folder buttons, driven through the real system
// folder dialog.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/MirrorFixture.h"
#include <gtest/gtest.h>

namespace {

using namespace e2e;

const wchar_t kKey[] = L"Software\\Zelvora\\REPLIMAR";

std::wstring Stored(const std::wstring& name) {
  return RegistryValue(L"ler", name, L"<none>");
}

// The row a directory list highlights: its current folder's own name.
std::wstring CurrentRow(HWND list) {
  const int index = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  const auto items = ListItems(list);
  return index >= 0 && static_cast<size_t>(index) < items.size() ? items[static_cast<size_t>(index)]
                                                                 : L"";
}

std::wstring LastName(const std::wstring& folder) {
  return folder.substr(folder.find_last_of(L'\\') + 1);
}

using FolderSelection = TMirrorTest;

TEST_F(FolderSelection, FirstStartShowsTheDefaultsEndsStaleToolsAndStoresNothing) {
  RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
  RemoveTree(L"C:\\TMP");
  // Two copies of "robocopy.exe" left running from before.
  const std::wstring stale = FRoot + L"\\robocopy.exe";
  ASSERT_TRUE(CopyFileW(REPLIMAR_SLEEPER_PATH, stale.c_str(), FALSE));
  for (int i = 0; i < 2; ++i) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + stale + L"\"";
    ASSERT_TRUE(CreateProcessW(stale.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &info));
    UniqueHandle process(info.hProcess), thread(info.hThread);
  }
  ASSERT_TRUE(WaitFor([] { return CountProcesses(L"robocopy.exe") == 2; }, kActionTimeout));

  StartProgram();
  EXPECT_TRUE(WaitFor([] { return CountProcesses(L"robocopy.exe") == 0; }, kActionTimeout));
  // The source list is on the executable's own folder, the destination on C:\TMP, created.
  const std::wstring exe = REPLIMAR_EXE_PATH;
  const std::wstring exeFolder = exe.substr(0, exe.find_last_of(L'\\'));
  EXPECT_EQ(CurrentRow(FApp->SourceDirectoryList()), LastName(exeFolder));
  EXPECT_EQ(CurrentRow(FApp->DestinationDirectoryList()), L"TMP");
  EXPECT_NE(GetFileAttributesW(L"C:\\TMP"), INVALID_FILE_ATTRIBUTES);
  // The key exists, without a value: defaults are never written back.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  UniqueHKey owner(key);
  DWORD values = 99;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  EXPECT_EQ(values, 0u);
}

TEST_F(FolderSelection, AChosenFolderIsStoredAndShownACancelKeepsIt) {
  StartProgram();
  const std::wstring chosen = FRoot + L"\\escolhida";
  ASSERT_TRUE(CreateDirectoryW(chosen.c_str(), nullptr));

  ChooseInDialog(L"Folder Origem", chosen, L"&Open");
  EXPECT_TRUE(WaitFor([&] { return Stored(L"storage_Origem") == chosen; }, kActionTimeout))
      << Utf8(Stored(L"storage_Origem"));
  EXPECT_TRUE(WaitFor([&] { return CurrentRow(FApp->SourceDirectoryList()) == L"escolhida"; },
                      kActionTimeout));

  ChooseInDialog(L"Folder Origem", L"", L"Cancel");
  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(L"Limpar Log"))); // the click handler has ended
  EXPECT_EQ(Stored(L"storage_Origem"), chosen) << "a cancel keeps the saved folder";
  EXPECT_EQ(CurrentRow(FApp->SourceDirectoryList()), L"escolhida");

  // The destination button writes under its own spelling; the one value serves both.
  ChooseInDialog(L"Folder destino", FDestination, L"&Open");
  EXPECT_TRUE(WaitFor([&] { return Stored(L"storage_Destino") == FDestination; }, kActionTimeout));
}

TEST_F(FolderSelection, AMissingFolderIsRefusedAndTheSavedOneKept) {
  StartProgram();
  ChooseInDialog(L"Folder destino", FRoot + L"\\nao-existe", L"&Open");
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageText(box), L"Pasta inexistente!");
  PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActionTimeout));
  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(L"Limpar Log")));
  EXPECT_EQ(Stored(L"storage_Destino"), FDestination);
  EXPECT_EQ(CurrentRow(FApp->DestinationDirectoryList()), L"destino");
}

TEST_F(FolderSelection, AStoredSourceThatIsGoneIsReportedAndOpensOnTheExecutablesDriveRoot) {
  RegistryValue(L"escrever", L"storage_Origem", FRoot + L"\\sumiu");
  EXPECT_EQ(StartThroughReport().rfind(L"Cannot open folder \"" + FRoot + L"\\sumiu\". ", 0), 0u);
  const std::wstring exe = REPLIMAR_EXE_PATH;
  EXPECT_EQ(CurrentRow(FApp->SourceDirectoryList()), exe.substr(0, 3));
  EXPECT_EQ(Stored(L"storage_Origem"), FRoot + L"\\sumiu") << "the stored value stays";
}

TEST_F(FolderSelection, AnEmptyStoredDestinationFallsBackToTheDefault) {
  RegistryValue(L"escrever", L"storage_Destino", L"");
  StartProgram();
  EXPECT_EQ(FApp->TopLevelWindows().size(), 1u) << "no error report at start-up";
  EXPECT_EQ(CurrentRow(FApp->DestinationDirectoryList()), L"TMP");
}

} // namespace
