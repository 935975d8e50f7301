// Stored folder values the program did not write, and folders whose names are hard for the
// tool's command line: the window always opens, a value that cannot be used is reported, and
// the store keeps what it held.
#include "funcoes/ProcessTerminator.h"
#include "funcoes/RegistryValue.h"
#include "tests/e2e/FaultSupport.h"
#include "ui/pure/SyncCommand.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace e2e;

struct TRawValue {
  DWORD Type = REG_NONE;
  std::string Bytes;
  bool operator==(const TRawValue&) const = default;
};

UniqueHKey OpenSettings() {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvora\\REPLIMAR", 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &key, nullptr);
  return UniqueHKey(key);
}

void Store(const wchar_t* name, const TRawValue& value) {
  UniqueHKey key = OpenSettings();
  ASSERT_EQ(RegSetValueExW(key.Get(), name, 0, value.Type,
                           reinterpret_cast<const BYTE*>(value.Bytes.data()),
                           static_cast<DWORD>(value.Bytes.size())),
            ERROR_SUCCESS);
}

TRawValue Stored(const wchar_t* name) {
  UniqueHKey key = OpenSettings();
  TRawValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), name, nullptr, &value.Type, nullptr, &size) != ERROR_SUCCESS)
    return {};
  value.Bytes.resize(size);
  RegQueryValueExW(key.Get(), name, nullptr, &value.Type,
                   reinterpret_cast<BYTE*>(value.Bytes.data()), &size);
  value.Bytes.resize(size);
  return value;
}

TRawValue Raw(DWORD type, std::string bytes) {
  TRawValue value;
  value.Type = type;
  value.Bytes = std::move(bytes);
  return value;
}

// REG_SZ data of a text: its UTF-16 units and one NUL.
TRawValue Sz(const std::wstring& text) {
  TRawValue value{REG_SZ, {}};
  for (wchar_t c : text + L'\0') {
    value.Bytes.push_back(static_cast<char>(c & 0xFF));
    value.Bytes.push_back(static_cast<char>(c >> 8));
  }
  return value;
}

// The row of a directory list that shows its current folder: the last path row.
std::wstring CurrentRow(HWND list) {
  const auto rows = ListItems(list);
  const LRESULT at = SendMessageW(list, LB_GETCURSEL, 0, 0);
  return at >= 0 && static_cast<size_t>(at) < rows.size() ? rows[static_cast<size_t>(at)] : L"";
}

using FaultSettings = TMirrorTest;

TEST_F(FaultSettings, ValuesOfTheWrongTypeAreReportedAndKept) {
  struct TCase {
    const wchar_t* Name;
    TRawValue Value;
    std::wstring Report;
  };
  // Built one by one: GCC 12 mistakes the members of an aggregate array of strings for
  // uninitialized ones.
  std::vector<TCase> cases;
  cases.push_back({L"storage_Destino", Raw(REG_DWORD, std::string("\x07\0\0\0", 4)),
                   L"Invalid data type for 'storage_Destino'"});
  cases.push_back({L"storage_Origem", Raw(REG_BINARY, std::string("\x01\x02\x03", 3)),
                   L"Invalid data type for 'storage_Origem'"});
  cases.push_back({L"storage_Destino", Raw(REG_MULTI_SZ, std::string("a\0\0\0\0\0", 6)),
                   L"Invalid data type for 'storage_Destino'"});
  // No data bytes: the empty text, whatever the type; it counts as no stored folder.
  cases.push_back({L"storage_Destino", Raw(REG_BINARY, ""), L""});
  for (const TCase& c : cases) {
    SCOPED_TRACE(Utf8(c.Name) + " of type " + std::to_string(c.Value.Type));
    Store(c.Name, c.Value);
    EXPECT_EQ(StartThroughReport(), c.Report);
    EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))) << "the window is usable";
    EXPECT_EQ(FApp->Close(), 0u);
    EXPECT_EQ(Stored(c.Name), c.Value) << "the stored value is kept as it was";
    RegistryValue(L"escrever", L"storage_Origem", FSource);
    RegistryValue(L"escrever", L"storage_Destino", FDestination);
  }
}

TEST_F(FaultSettings, AnEmptyDestinationFallsBackAndAnInnerNulEndsTheText) {
  Store(L"storage_Destino", Sz(L""));
  Store(L"storage_Origem", Sz(FSource + std::wstring(1, L'\0') + L"lixo"));
  const TRawValue source = Stored(L"storage_Origem");
  EXPECT_EQ(StartThroughReport(), L"");
  EXPECT_EQ(CurrentRow(FApp->SourceDirectoryList()), L"origem");
  // An emptied destination heals to the default instead of failing at every start.
  EXPECT_EQ(CurrentRow(FApp->DestinationDirectoryList()), L"TMP");
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_EQ(Stored(L"storage_Destino"), Sz(L""));
  EXPECT_EQ(Stored(L"storage_Origem"), source);
}

std::wstring Longest(const std::wstring& root) {
  std::wstring longest = root + L"\\longo";
  while (longest.size() + 2 <= 32767)
    longest += L"\\a";
  longest.resize(32767, L'b');
  return longest;
}

TEST_F(FaultSettings, ASourceOf32767CharactersIsReportedAndFallsBackToTheDriveRoot) {
  const std::wstring longest = Longest(FRoot);
  Store(L"storage_Origem", Sz(longest));
  EXPECT_EQ(StartThroughReport().rfind(L"Cannot open folder \"" + longest + L"\". ", 0), 0u);
  EXPECT_EQ(CurrentRow(FApp->SourceDirectoryList()).size(), 3u) << "a drive root";
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_EQ(Stored(L"storage_Origem"), Sz(longest));
}

// A destination longer than Windows lets a program create is not created (without asking about
// each of its some 16,000 levels); entering it fails and the report says so.
TEST_F(FaultSettings, ADestinationOf32767CharactersIsReportedNotFatal) {
  const std::wstring longest = Longest(FRoot);
  Store(L"storage_Destino", Sz(longest));
  const std::wstring report = StartThroughReport();
  EXPECT_EQ(report.rfind(L"Cannot open folder \"", 0), 0u) << Utf8(report.substr(0, 200));
  EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_EQ(Stored(L"storage_Destino"), Sz(longest));
}

TEST_F(FaultSettings, AMissingDriveOrAnUnreachableShareIsReportedWithoutAHang) {
  for (const std::wstring& absent : {MissingDriveLetter() + L"\\destino",
                                     std::wstring(L"\\\\replimar-sem-servidor\\partilha\\d")}) {
    SCOPED_TRACE(Utf8(absent));
    Store(L"storage_Destino", Sz(absent));
    Store(L"storage_Origem", Sz(absent));
    // One report names the source, then the destination.
    const std::wstring report = StartThroughReport();
    EXPECT_EQ(report.rfind(L"Cannot open folder \"" + absent + L"\". ", 0), 0u) << Utf8(report);
    EXPECT_NE(report.find(L"\r\nCannot open folder \"" + absent + L"\". "), std::wstring::npos)
        << Utf8(report);
    EXPECT_EQ(CurrentRow(FApp->SourceDirectoryList()).size(), 3u)
        << "the source list falls back to the executable's drive root";
    EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
    EXPECT_EQ(FApp->Close(), 0u);
    EXPECT_EQ(Stored(L"storage_Destino"), Sz(absent));
    EXPECT_EQ(Stored(L"storage_Origem"), Sz(absent));
  }
}

// Folders whose names the old 8-bit command line could not carry, and other hard forms: the run
// mirrors them like any other.
TEST_F(FaultSettings, HardFolderNamesAreMirrored) {
  const std::wstring names[] = {
      L"\u65e5\u672c\u8a9e\u306e\u30d5\u30a9\u30eb\u30c0", // Japanese
      L"pasta \U0001F600 com par",                         // a surrogate pair
      L" com  espa\u00e7os",                               // spaces, leading and doubled
      L"a%TEMP% & ^b;c,d=e'f",                             // shell-like characters
  };
  for (const std::wstring& name : names) {
    SCOPED_TRACE(Utf8(name));
    const std::wstring source = FRoot + L"\\" + name;
    const std::wstring destination = FRoot + L"\\destino " + name;
    ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
    // "conteúdo" in UTF-8; the escape ends where the literal is split.
    const std::string content = "conte\xc3\xba"
                                "do";
    WriteFile(source + L"\\" + name + L".txt", content);
    RegistryValue(L"escrever", L"storage_Origem", source);
    RegistryValue(L"escrever", L"storage_Destino", destination);
    StartProgram();
    ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
    // Looked at before the tool's first log line replaces it.
    const std::wstring command = L"Comando: " + BuildSyncCommand(source, destination, LogPath());
    EXPECT_TRUE(WaitFor([&] { return FApp->LogText().find(command) != std::wstring::npos; },
                        kActionTimeout))
        << "the pane shows the command with the name as it is: " << Utf8(FApp->LogText());
    EXPECT_TRUE(
        WaitFor([&] { return ReadFileBytes(destination + L"\\" + name + L".txt") == content; },
                kStartTimeout))
        << Utf8(FApp->LogText());
    FApp->Click(FApp->Button(kStop));
    EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
    EXPECT_EQ(FApp->Close(), 0u);
    TerminateProcessByName(L"robocopy.exe");
    WaitFor([] { return CountProcesses(L"robocopy.exe") == 0; }, kExitTimeout);
  }
}

TEST_F(FaultSettings, AFolderBeyond260CharactersIsReportedOrMirrored) {
  std::wstring deep = FSource;
  while (deep.size() < 300)
    deep += L"\\pasta-com-nome-bem-comprido";
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr) || [&] {
    std::wstring step = FSource;
    for (size_t at = FSource.size() + 1; at <= deep.size(); ++at)
      if (at == deep.size() || deep[at] == L'\\')
        CreateDirectoryW((L"\\\\?\\" + deep.substr(0, at)).c_str(), nullptr);
    return GetFileAttributesW((L"\\\\?\\" + deep).c_str()) != INVALID_FILE_ATTRIBUTES;
  }());
  RegistryValue(L"escrever", L"storage_Destino", deep);
  const std::wstring report = StartThroughReport();
  const std::wstring row = CurrentRow(FApp->DestinationDirectoryList());
  // Either the list shows it, or its refusal is in the error report; the window opens.
  EXPECT_TRUE(row == L"pasta-com-nome-bem-comprido" ||
              report.rfind(L"Cannot open folder \"" + deep + L"\". ", 0) == 0)
      << "row " << Utf8(row) << ", report " << Utf8(report);
  std::printf("[fault] destination of %zu characters: %s\n", deep.size(),
              report.empty() ? "shown in the list" : Utf8(report).c_str());
  EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L""), deep);
}

// A drive root ("C:\\" cut to "C:") is not run here: Wine cannot map a small folder to a drive
// letter from inside the prefix, and mirroring a real root would copy the whole drive. The cut
// and the command built from it are tested through PrepareSyncFolder and BuildSyncCommand.

} // namespace
