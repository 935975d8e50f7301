// "/MIR" runs only between folders the operator chose. A folder the window fell back to (the
// executable's folder, its drive's root, C:\TMP) is shown but never mirrored; a source that has
// gone since it was chosen is refused, never made again as an empty folder.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/FaultSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace e2e;

// Mapped by the test rig to a small folder of the prefix (scripts/wine-env.sh).
const std::wstring kTestDrive = L"Q:";
const std::wstring kBackup = kTestDrive + L"\\backup";
const std::wstring kTmpFile = L"C:\\TMP\\replimar-e2e-guardado.txt";
const std::wstring kTmpSubfolder = L"C:\\TMP\\replimar-e2e-sub";

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void StoreExpandSz(const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvora\\REPLIMAR", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  UniqueHKey owner(key);
  ASSERT_EQ(RegSetValueExW(key, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

DWORD StoredType(const wchar_t* name) {
  DWORD type = REG_NONE;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Zelvora\\REPLIMAR", name,
                   RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return REG_NONE;
  return type;
}

class ChosenFolders : public TMirrorTest {
protected:
  void TearDown() override {
    TMirrorTest::TearDown();
    RemoveTree(kBackup);
    RemoveTree(kTmpSubfolder);
    DeleteFileW(kTmpFile.c_str());
    SetEnvironmentVariableW(L"REPLIMAR_E2E_ROOT", nullptr);
  }
};

// The stored source is on a drive that is not there today; the backup is on another drive. The
// source list falls back to the executable's drive root, which must never be mirrored into it.
TEST_F(ChosenFolders, AnUnpluggedSourcesFallbackIsNeverMirroredIntoABackupOnAnotherDrive) {
  const std::wstring unplugged = MissingDriveLetter() + L"\\origem";
  ASSERT_TRUE(CreateDirectoryW(kBackup.c_str(), nullptr));
  WriteFile(kBackup + L"\\guardado.mp4", "kept");
  RegistryValue(L"escrever", L"storage_Origem", unplugged);
  RegistryValue(L"escrever", L"storage_Destino", kBackup);

  const std::wstring report = StartThroughReport();
  EXPECT_EQ(report.rfind(L"Cannot open folder \"" + unplugged + L"\". ", 0), 0u) << Utf8(report);
  EXPECT_EQ(ShownRow(FApp->SourceDirectoryList()).size(), 3u) << "a drive root is shown";
  ExpectRunRefused();
  EXPECT_EQ(PaneLines(FApp->LogText()), std::vector<std::wstring>{});
  EXPECT_EQ(ReadFileBytes(kBackup + L"\\guardado.mp4"), "kept");
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L""), unplugged) << "the stored value stays";

  // The source chosen with its button: the run goes ahead.
  ChooseInDialog(L"Folder Origem", FSource, L"&Open");
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"" + kBackup + L"\""), std::wstring::npos)
      << Utf8(command);
}

// Nothing stored: the lists show the executable's folder and C:\TMP, and a run is refused until
// both sides are chosen; a move of a list counts as a choice.
TEST_F(ChosenFolders, OnAFirstStartTheDefaultsAreShownButNotMirrored) {
  ForgetStoredFolders();
  CreateDirectoryW(L"C:\\TMP", nullptr);
  WriteFile(kTmpFile, "kept");
  ASSERT_TRUE(CreateDirectoryW(kTmpSubfolder.c_str(), nullptr));

  StartProgram();
  EXPECT_EQ(FApp->TopLevelWindows().size(), 1u) << Utf8(FApp->DescribeTopLevelWindows());
  EXPECT_EQ(ShownRow(FApp->DestinationDirectoryList()), L"TMP");
  ExpectRunRefused();
  ChooseInDialog(L"Folder Origem", FSource, L"&Open");
  ExpectRunRefused();
  EXPECT_EQ(ReadFileBytes(kTmpFile), "kept");

  // The operator opens a subfolder of C:\TMP in the destination list: that is a choice.
  const HWND destinations = FApp->DestinationDirectoryList();
  const std::vector<std::wstring> rows = ListItems(destinations);
  const auto sub = std::find(rows.begin(), rows.end(), L"replimar-e2e-sub");
  ASSERT_NE(sub, rows.end()) << "the subfolder is not listed";
  DoubleClickRow(destinations, static_cast<int>(sub - rows.begin()));
  ASSERT_TRUE(
      WaitFor([&] { return ShownRow(destinations) == L"replimar-e2e-sub"; }, kActionTimeout));
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"" + kTmpSubfolder + L"\""), std::wstring::npos)
      << Utf8(command);
  EXPECT_EQ(ReadFileBytes(kTmpFile), "kept");
}

// IT deploys folders through group policy as REG_EXPAND_SZ: the reference is filled in, the
// folder counts as stored and chosen, and nothing is written back.
TEST_F(ChosenFolders, AStoredFolderWithAnEnvironmentReferenceIsExpanded) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"REPLIMAR_E2E_ROOT", FRoot.c_str())); // the program's too
  StoreExpandSz(L"storage_Origem", L"%REPLIMAR_E2E_ROOT%\\origem");
  StartProgram();
  EXPECT_EQ(FApp->TopLevelWindows().size(), 1u) << Utf8(FApp->DescribeTopLevelWindows());
  EXPECT_EQ(ShownRow(FApp->SourceDirectoryList()), L"origem");
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"" + FDestination + L"\""), std::wstring::npos)
      << Utf8(command);
  EXPECT_EQ(StoredType(L"storage_Origem"), static_cast<DWORD>(REG_EXPAND_SZ));
}

// The operator chose the source, then renamed it in Explorer. The source button must not make it
// again (empty), and a run must not mirror it: /MIR would empty the destination.
TEST_F(ChosenFolders, ASourceRenamedAfterItWasChosenIsNeitherMadeAgainNorMirrored) {
  WriteFile(FDestination + L"\\guardado.mp4", "kept");
  StartProgram();
  ChooseInDialog(L"Folder Origem", FSource, L"&Open");
  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))); // the click handler has ended
  ASSERT_TRUE(MoveFileW(FSource.c_str(), (FSource + L"-renomeada").c_str()));

  CancelDialog(L"Folder Origem");
  EXPECT_FALSE(Exists(FSource)) << "the source was made again";
  ExpectRunRefused(kNoSuchFolder);
  EXPECT_FALSE(Exists(FSource));
  EXPECT_EQ(ReadFileBytes(FDestination + L"\\guardado.mp4"), "kept");
  EXPECT_EQ(PaneLines(FApp->LogText()), std::vector<std::wstring>{});
}

} // namespace
