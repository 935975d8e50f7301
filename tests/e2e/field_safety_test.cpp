// "/MIR" deletes whatever the destination holds beyond the source: a run must only ever reach
// the two folders the operator chose. Drive roots, folders the window could not open, stored
// values that cannot be read, and libraries planted beside the executable.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/FaultSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace e2e;

// Mapped by the test rig to a small folder of the prefix (scripts/wine-env.sh).
const std::wstring kTestDrive = L"Q:";

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void StoreDword(const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvora\\REPLIMAR", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  UniqueHKey owner(key);
  ASSERT_EQ(
      RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
      ERROR_SUCCESS);
}

DWORD StoredType(const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvora\\REPLIMAR", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return REG_NONE;
  UniqueHKey owner(key);
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return REG_NONE;
  return type;
}

class FieldSafety : public TMirrorTest {
protected:
  void TearDown() override {
    SetEnvironmentVariableW(L"REPLIMAR_STANDIN_RECORD", nullptr);
    TMirrorTest::TearDown();
  }

  // The folder rows of a list's current folder: the highlighted row.
  static int CurrentRowIndex(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  }

  // The operator opens the highlighted row of a list, the folder it shows: Enter with the list
  // focused, then a double-click on the row. Neither moves the list, so neither chooses.
  void OpenShownRow(HWND list) {
    const int shown = CurrentRowIndex(list);
    const std::vector<std::wstring> rows = ListItems(list);
    ASSERT_TRUE(FocusOn(*FApp, list));
    ASSERT_TRUE(FApp->PressKey(VK_RETURN));
    DoubleClickRow(list, shown);
    ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))); // both have been handled
    EXPECT_EQ(CurrentRowIndex(list), shown);
    EXPECT_EQ(ListItems(list), rows);
    EXPECT_EQ(FApp->TopLevelWindows().size(), 1u) << Utf8(FApp->DescribeTopLevelWindows());
  }
};

// --- Drive roots ------------------------------------------------------------------------------

class DriveRoots : public FieldSafety {
protected:
  void SetUp() override {
    FieldSafety::SetUp();
    ASSERT_NE(GetDriveTypeW((kTestDrive + L"\\").c_str()), static_cast<UINT>(DRIVE_NO_ROOT_DIR))
        << "the test rig did not map " << Utf8(kTestDrive);
    ClearTestDrive();
  }
  void TearDown() override {
    FieldSafety::TearDown();
    ClearTestDrive();
  }
  static void ClearTestDrive() {
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW((kTestDrive + L"\\*").c_str(), &entry));
    if (!find) return;
    do {
      const std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") RemoveTree(kTestDrive + L"\\" + name);
    } while (FindNextFileW(find.Get(), &entry));
  }
};

TEST_F(DriveRoots, ADriveRootAsSourceIsMirroredAsTheRoot) {
  WriteFile(kTestDrive + L"\\raiz.mp4", "root file");
  ASSERT_TRUE(CreateDirectoryW((kTestDrive + L"\\sub").c_str(), nullptr));
  WriteFile(kTestDrive + L"\\sub\\fundo.mp4", "deep file");
  RegistryValue(L"escrever", L"storage_Origem", kTestDrive + L"\\");
  StartProgram();
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"robocopy \"Q:\\.\" \"" + FDestination + L"\""), std::wstring::npos)
      << Utf8(command);
  EXPECT_NE(command.find(L"/XD \"Q:\\$RECYCLE.BIN\" \"Q:\\System Volume Information\""),
            std::wstring::npos)
      << Utf8(command);
  EXPECT_TRUE(WaitFor(
      [&] {
        return Exists(FDestination + L"\\raiz.mp4") && Exists(FDestination + L"\\sub\\fundo.mp4");
      },
      kActionTimeout))
      << "the root's files did not arrive";
  // The gauge counts the root's two files.
  EXPECT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"100%"; }, kActionTimeout))
      << Utf8(FApp->GaugeText());
}

TEST_F(DriveRoots, ADriveRootAsDestinationIsMirroredIntoTheRoot) {
  WriteFile(FSource + L"\\novo.mp4", "new");
  WriteFile(kTestDrive + L"\\sobra.txt", "extra: /MIR removes it from the root");
  RegistryValue(L"escrever", L"storage_Destino", kTestDrive + L"\\");
  StartProgram();
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"Q:\\.\" /MIR"), std::wstring::npos)
      << Utf8(command);
  EXPECT_TRUE(WaitFor(
      [&] { return Exists(kTestDrive + L"\\novo.mp4") && !Exists(kTestDrive + L"\\sobra.txt"); },
      kActionTimeout))
      << "the root of " << Utf8(kTestDrive) << " is not the mirror of the source";
}

// The system drive's root, with a tool that only records where its folders lead (a real mirror
// would copy or delete the whole drive). The other side lies on the test drive, so that the two
// do not overlap.
TEST_F(DriveRoots, TheSystemDrivesRootReachesTheToolAsTheRoot) {
  const std::wstring record = FRoot + L"\\record.txt";
  const std::wstring other = kTestDrive + L"\\lado";
  ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
  SetEnvironmentVariableW(L"REPLIMAR_STANDIN_RECORD", record.c_str());
  for (const bool rootIsSource : {true, false}) {
    SCOPED_TRACE(rootIsSource ? "C:\\ as source" : "C:\\ as destination");
    DeleteFileW(record.c_str());
    RegistryValue(L"escrever", L"storage_Origem", rootIsSource ? L"C:\\" : other);
    RegistryValue(L"escrever", L"storage_Destino", rootIsSource ? other : L"C:\\");
    StartProgram();
    const std::wstring command = StartRun();
    EXPECT_NE(command.find(rootIsSource ? L"\"C:\\.\" \"Q:\\lado\"" : L"\"Q:\\lado\" \"C:\\.\""),
              std::wstring::npos)
        << Utf8(command);
    std::string recorded;
    EXPECT_TRUE(WaitFor(
        [&] {
          recorded = ReadFileBytes(record);
          return recorded.find('\n') != recorded.rfind('\n');
        },
        kActionTimeout))
        << "the tool recorded nothing";
    EXPECT_EQ(recorded, rootIsSource ? "C:\\\r\nQ:\\lado\r\n" : "Q:\\lado\r\nC:\\\r\n");
    EXPECT_EQ(FApp->Close(), 0u);
  }
}

// --- Folders the window could not open ---------------------------------------------------------

TEST_F(FieldSafety, ADestinationTheWindowCouldNotOpenIsNeverMirroredInto) {
  const std::wstring unplugged = MissingDriveLetter() + L"\\destino";
  RegistryValue(L"escrever", L"storage_Destino", unplugged);
  const std::wstring report = StartThroughReport();
  EXPECT_NE(report.find(unplugged), std::wstring::npos) << Utf8(report);
  // The destination list still shows the start-up folder; it holds no folder for a run.
  ExpectRunRefused();
  EXPECT_EQ(PaneLines(FApp->LogText()), std::vector<std::wstring>{});
  // Opening the row it shows, by key or by mouse, is no choice of that folder.
  OpenShownRow(FApp->DestinationDirectoryList());
  ExpectRunRefused();
  // Once the operator chooses a destination, the run goes ahead with it.
  ChooseInDialog(L"Folder destino", FDestination, L"&Open");
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"" + FDestination + L"\""), std::wstring::npos)
      << Utf8(command);
}

TEST_F(FieldSafety, ASourceTheWindowCouldNotReadIsNeverMirroredFrom) {
  StoreDword(L"storage_Origem", 7);
  EXPECT_EQ(StartThroughReport(), L"Invalid data type for 'storage_Origem'");
  // The show ended before either list was pointed at its folder.
  ExpectRunRefused();
  // Opening the row the source list shows, by key or by mouse, is no choice of that folder.
  OpenShownRow(FApp->SourceDirectoryList());
  // The operator chooses only the destination: the source is still unchosen.
  ChooseInDialog(L"Folder destino", FDestination, L"&Open");
  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
  ExpectRunRefused();
  EXPECT_EQ(PaneLines(FApp->LogText()), std::vector<std::wstring>{});
  // Choosing the source with its button lets the run go ahead.
  ChooseInDialog(L"Folder Origem", FSource, L"&Open");
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"" + FDestination + L"\""), std::wstring::npos)
      << Utf8(command);
}

// --- Stored values that cannot be read --------------------------------------------------------

TEST_F(FieldSafety, AValueOfTheWrongTypeDoesNotJamItsFolderButton) {
  StoreDword(L"Storage_destino", 7);
  EXPECT_EQ(StartThroughReport(), L"Invalid data type for 'storage_Destino'");
  // The dialog opens (without a start folder) and the choice replaces the bad value as text.
  ChooseInDialog(L"Folder destino", FDestination, L"&Open");
  EXPECT_TRUE(WaitFor([&] { return StoredType(L"storage_Destino") == REG_SZ; }, kActionTimeout));
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L""), FDestination);
  EXPECT_EQ(FApp->TopLevelWindows().size(), 1u) << Utf8(FApp->DescribeTopLevelWindows());
}

TEST_F(FieldSafety, AFolderRemovedOnPurposeIsNotMadeAgainAfterACancel) {
  const std::wstring old = FRoot + L"\\antiga";
  ASSERT_TRUE(CreateDirectoryW(old.c_str(), nullptr));
  RegistryValue(L"escrever", L"storage_Origem", old);
  StartProgram();
  CancelDialog(L"Folder Origem");
  // The operator removes the old folder on purpose; the next click must not bring it back.
  ASSERT_TRUE(
      WaitFor([&] { return RemoveDirectoryW(old.c_str()) || !Exists(old); }, kActionTimeout));
  CancelDialog(L"Folder Origem");
  EXPECT_FALSE(Exists(old));
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L""), old) << "a cancel stores nothing";
}

// --- Libraries beside the executable ----------------------------------------------------------

// An executable's import table: each imported library (its name in small letters) with the
// names of the functions taken from it.
using TImports = std::vector<std::pair<std::string, std::vector<std::string>>>;

TImports ImportTable(const std::wstring& exe) {
  std::ifstream in(Utf8(exe), std::ios::binary);
  const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TImports table;
  if (image.size() < sizeof(IMAGE_DOS_HEADER)) return table;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const auto* sections = IMAGE_FIRST_SECTION(nt);
  const auto offsetOf = [&](ULONGLONG rva) -> size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
        return static_cast<size_t>(rva - s.VirtualAddress + s.PointerToRawData);
    }
    return 0;
  };
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() +
                                                                  offsetOf(imports.VirtualAddress));
       d->Name != 0; ++d) {
    std::string name = image.data() + offsetOf(d->Name);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    std::vector<std::string> functions;
    const DWORD thunks = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
    for (auto* t = reinterpret_cast<const IMAGE_THUNK_DATA64*>(image.data() + offsetOf(thunks));
         t->u1.AddressOfData != 0; ++t)
      if (!(t->u1.Ordinal & IMAGE_ORDINAL_FLAG64))
        functions.push_back(reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(
                                image.data() + offsetOf(t->u1.AddressOfData))
                                ->Name);
    table.emplace_back(name, std::move(functions));
  }
  return table;
}

std::vector<std::string> ImportedLibraries(const std::wstring& exe) {
  std::vector<std::string> names;
  for (const auto& [library, functions] : ImportTable(exe))
    names.push_back(library);
  return names;
}

// Windows' known libraries (the KnownDLLs list): it never looks for them beside an executable.
const std::set<std::string> kKnownLibraries = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll",    "imm32.dll",  "kernel32.dll",
    "msvcrt.dll",   "ole32.dll",    "oleaut32.dll", "rpcrt4.dll", "sechost.dll",
    "shell32.dll",  "shlwapi.dll",  "user32.dll",   "ws2_32.dll"};
// comctl32 is no known library, but the manifest binds it to the system's side-by-side common
// controls, which the loader takes before any folder (planted below to show it).
const char kSideBySide[] = "comctl32.dll";

TEST(ExecutableImports, OnlyLibrariesWindowsNeverTakesFromTheExecutablesFolder) {
  const std::vector<std::string> names = ImportedLibraries(REPLIMAR_EXE_PATH);
  ASSERT_FALSE(names.empty()) << "no import table read";
  for (const std::string& name : names)
    EXPECT_TRUE(kKnownLibraries.count(name) || name == kSideBySide)
        << name << " would be looked for beside the exe";
}

// Windows 7 without update KB2533623 lacks SetDefaultDllDirectories: an exe that imports it
// does not start there at all, so the program looks it up when it starts.
TEST(ExecutableImports, NothingThatAnOlderWindowsOfTheManifestLacks) {
  const TImports table = ImportTable(REPLIMAR_EXE_PATH);
  ASSERT_FALSE(table.empty()) << "no import table read";
  size_t functions = 0;
  for (const auto& [library, names] : table) {
    functions += names.size();
    for (const char* missing :
         {"SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory"})
      EXPECT_EQ(std::count(names.begin(), names.end(), missing), 0)
          << library << " " << missing << " is imported";
  }
  EXPECT_GT(functions, 50u) << "the function names were not read";
}

// The screen readers' libraries are loaded from the system folder when a reader first asks: a
// start-up without a reader neither loads them nor looks for them beside the exe.
TEST(ExecutableImports, NoAccessibilityLibraryAtStartUp) {
  const TImports table = ImportTable(REPLIMAR_EXE_PATH);
  ASSERT_FALSE(table.empty()) << "no import table read";
  for (const auto& [library, names] : table) {
    std::string lower = library;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
      return static_cast<char>(tolower(static_cast<unsigned char>(c)));
    });
    EXPECT_NE(lower, "oleacc.dll");
    EXPECT_NE(lower, "oleaut32.dll");
  }
}

// Wine's per-program library order, for the planted copy's file name only; removed afterwards.
class TNativeFirstFor {
public:
  TNativeFirstFor(const std::wstring& exeName, const std::vector<std::string>& libraries)
      : FKey(L"Software\\Wine\\AppDefaults\\" + exeName + L"\\DllOverrides") {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, FKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    UniqueHKey owner(key);
    const std::wstring order = L"native,builtin";
    for (const std::string& library : libraries) {
      const std::wstring name(library.begin(), library.end() - 4); // without ".dll"
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order.c_str()),
                     static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
    }
  }
  ~TNativeFirstFor() {
    RegDeleteTreeW(HKEY_CURRENT_USER, FKey.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, FKey.substr(0, FKey.rfind(L'\\')).c_str());
  }
  TNativeFirstFor(const TNativeFirstFor&) = delete;
  TNativeFirstFor& operator=(const TNativeFirstFor&) = delete;

private:
  std::wstring FKey;
};

TEST_F(FieldSafety, LibrariesPlantedBesideTheExecutableAreNeverLoaded) {
  // The program as an operator downloads it a second time, where a web page left libraries named
  // like the ones it loads.
  const std::wstring downloads = FRoot + L"\\Downloads";
  const std::wstring markers = FRoot + L"\\markers";
  ASSERT_TRUE(CreateDirectoryW(downloads.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(markers.c_str(), nullptr));
  const std::wstring exeName = L"ReplimarKORVELL (1).exe";
  const std::wstring exe = downloads + L"\\" + exeName;
  ASSERT_TRUE(CopyFileW(REPLIMAR_EXE_PATH, exe.c_str(), FALSE));
  // Every imported library outside the known list. (Wine's loader has no known list, and its
  // own libraries' delay loads, msimg32 and uxtheme among them, ignore the process's library
  // folders, so planting those names would test Wine, not the program; on Windows
  // SetDefaultDllDirectories in wWinMain keeps every later load in the system folder.)
  std::vector<std::string> planted;
  for (const std::string& name : ImportedLibraries(REPLIMAR_EXE_PATH))
    if (!kKnownLibraries.count(name)) planted.push_back(name);
  ASSERT_FALSE(planted.empty()) << "comctl32 is expected among the imports";
  for (const std::string& name : planted)
    ASSERT_TRUE(CopyFileW(REPLIMAR_PLANTED_PATH,
                          (downloads + L"\\" + std::wstring(name.begin(), name.end())).c_str(),
                          FALSE));
  // Native first, as Windows takes any library outside its known list.
  const TNativeFirstFor nativeFirst(exeName, planted);
  SetEnvironmentVariableW(L"REPLIMAR_PLANTED_MARKERS", markers.c_str());
  FApp = std::make_unique<TOperator>(exe);
  SetEnvironmentVariableW(L"REPLIMAR_PLANTED_MARKERS", nullptr);
  const auto loaded = [&] {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW((markers + L"\\*.loaded").c_str(), &entry));
    if (find) do
        names.push_back(entry.cFileName);
      while (FindNextFileW(find.Get(), &entry));
    return names;
  };
  ASSERT_TRUE(FApp->Started()) << Utf8(FApp->Failure())
                               << "; planted copies loaded: " << ::testing::PrintToString(loaded());
  // The folder dialog makes the shell load its libraries on demand.
  CancelDialog(L"Folder Origem");
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_EQ(loaded(), std::vector<std::wstring>{});
}

// A library that the running program is asked to load by its bare name, from a thread the test
// starts in it: the way any later load in the program (COM, the shell, a hook) searches. Planted
// beside the exe and in the program's current folder, it must not be found there.
TEST_F(FieldSafety, LaterLoadsOfTheProgramSearchOnlyTheSystemFolder) {
  const std::wstring folder = FRoot + L"\\programa";
  const std::wstring markers = FRoot + L"\\markers";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(markers.c_str(), nullptr));
  const std::wstring exe = folder + L"\\ReplimarKORVELL.exe";
  ASSERT_TRUE(CopyFileW(REPLIMAR_EXE_PATH, exe.c_str(), FALSE));
  const std::wstring probe = L"replimar-probe.dll";
  ASSERT_TRUE(CopyFileW(REPLIMAR_PLANTED_PATH, (folder + L"\\" + probe).c_str(), FALSE));
  SetEnvironmentVariableW(L"REPLIMAR_PLANTED_MARKERS", markers.c_str());
  FApp = std::make_unique<TOperator>(exe);
  SetEnvironmentVariableW(L"REPLIMAR_PLANTED_MARKERS", nullptr);
  ASSERT_TRUE(FApp->Started()) << Utf8(FApp->Failure());
  ASSERT_TRUE(
      CopyFileW(REPLIMAR_PLANTED_PATH, (FApp->WorkFolder() + L"\\" + probe).c_str(), FALSE));

  // LoadLibraryW in the program, for a name; the module it returned (its low 32 bits), 0 when
  // nothing was loaded.
  const auto loadInProgram = [&](const std::wstring& name) -> DWORD {
    const size_t bytes = (name.size() + 1) * sizeof(wchar_t);
    void* remote =
        VirtualAllocEx(FApp->Process(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    EXPECT_NE(remote, nullptr);
    if (!remote) return 0;
    EXPECT_TRUE(WriteProcessMemory(FApp->Process(), remote, name.c_str(), bytes, nullptr));
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    UniqueHandle thread(CreateRemoteThread(FApp->Process(), nullptr, 0, load, remote, 0, nullptr));
    EXPECT_TRUE(thread.Valid()) << "CreateRemoteThread failed, error " << GetLastError();
    DWORD module = 0;
    if (thread) {
      EXPECT_EQ(WaitForSingleObject(thread.Get(), 10000), WAIT_OBJECT_0);
      GetExitCodeThread(thread.Get(), &module);
    }
    VirtualFreeEx(FApp->Process(), remote, 0, MEM_RELEASE);
    return module;
  };
  const std::wstring marker = markers + L"\\" + probe + L".loaded";
  EXPECT_EQ(loadInProgram(probe), 0u) << "the bare name was found beside the exe or in the "
                                         "current folder";
  EXPECT_FALSE(Exists(marker));
  // The same library by its full path loads: the probe itself works.
  EXPECT_NE(loadInProgram(folder + L"\\" + probe), 0u);
  EXPECT_TRUE(Exists(marker));
  EXPECT_EQ(FApp->Close(), 0u);
}

} // namespace
