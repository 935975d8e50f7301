// What the mirror run takes from the system: reading the log beside the tool that writes it,
// the log's size and presence, the display conversion of its last line, and starting the tool
// from the system folder only.
#include "WinTestSupport.h"
#include "funcoes/ProcessTerminator.h"
#include "funcoes/pure/Exception.h"
#include "ui/SyncTool.h"
#include <windows.h>
#include <tlhelp32.h>
#include <winioctl.h>
#include "tests/TestPrefix.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

using wintest::Narrow;
using wintest::TTempTree;
using wintest::WaitUntil;

void Append(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
}

// ---- Reading the log ----

class ReadWholeFileTest : public ::testing::Test {
protected:
  TTempTree FTree{L"read"};
  std::wstring FLog = FTree.Path(L"robocopy_log.txt");
};

TEST_F(ReadWholeFileTest, ReadsEveryByteAsItIs) {
  // A byte-order mark, a NUL inside a line and no final break: the bytes come back unchanged.
  const std::string bytes("\xFF\xFE"
                          "a\0b\r\n\0"
                          "100%\x00\xE9",
                          13);
  FTree.File(L"robocopy_log.txt", bytes);
  EXPECT_EQ(ReadWholeFile(FLog), bytes);
  FTree.File(L"empty.txt");
  EXPECT_EQ(ReadWholeFile(FTree.Path(L"empty.txt")), "");
}

TEST_F(ReadWholeFileTest, ReadsALogThatAWriterHoldsOpen) {
  UniqueFileHandle writer(CreateFileW(FLog.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.Valid());
  Append(writer.Get(), "  New File  10  a.mp4\r\n  100%\r\n");
  EXPECT_EQ(ReadWholeFile(FLog), "  New File  10  a.mp4\r\n  100%\r\n");
  // The writer goes on writing after a read: the next read sees the grown log.
  Append(writer.Get(), "  New File  20  b.mp4\r\n");
  EXPECT_EQ(ReadWholeFile(FLog), "  New File  10  a.mp4\r\n  100%\r\n  New File  20  b.mp4\r\n");
}

TEST_F(ReadWholeFileTest, HoldsTheLogOnlyWhileReadingIt) {
  FTree.File(L"robocopy_log.txt", "x\r\n");
  ASSERT_EQ(ReadWholeFile(FLog), "x\r\n");
  // Neither a writer that shares nothing nor a deletion is kept out afterwards.
  UniqueFileHandle exclusive(
      CreateFileW(FLog.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(exclusive.Valid()) << "the reader left the log open";
  exclusive.Reset();
  EXPECT_TRUE(DeleteFileW(FLog.c_str()));
}

struct TShareCase {
  DWORD WriterShare;
  bool Readable;
  const char* Name;
};

class ReadWholeFileShareTest : public ReadWholeFileTest,
                               public ::testing::WithParamInterface<TShareCase> {};

TEST_P(ReadWholeFileShareTest, OpensWhenTheWriterSharesReading) {
  const TShareCase& c = GetParam();
  UniqueFileHandle writer(CreateFileW(FLog.c_str(), GENERIC_WRITE, c.WriterShare, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.Valid());
  Append(writer.Get(), "line\r\n");
  if (c.Readable) {
    EXPECT_EQ(ReadWholeFile(FLog), "line\r\n");
    return;
  }
  try {
    ReadWholeFile(FLog);
    FAIL() << "no error raised";
  } catch (const EFOpenError& e) {
    const std::wstring prefix = L"Cannot open file \"" + FLog + L"\". ";
    EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix) << Narrow(e.Message());
    // Followed by the system's description of the error.
    EXPECT_GT(e.Message().size(), prefix.size() + 3) << Narrow(e.Message());
  }
  // The run checks that the log exists first: the held log does exist.
  EXPECT_TRUE(FileExists(FLog));
}

INSTANTIATE_TEST_SUITE_P(
    Sharing, ReadWholeFileShareTest,
    ::testing::Values(TShareCase{FILE_SHARE_READ | FILE_SHARE_WRITE, true, "ReadWrite"},
                      TShareCase{FILE_SHARE_READ, true, "Read"},
                      TShareCase{FILE_SHARE_READ | FILE_SHARE_DELETE, true, "ReadDelete"},
                      TShareCase{FILE_SHARE_WRITE, false, "WriteOnly"},
                      TShareCase{0, false, "Nothing"}),
    [](const ::testing::TestParamInfo<TShareCase>& info) { return std::string(info.param.Name); });

// ---- Presence and size ----

TEST(SyncFileExists, IsTrueForFilesOnly) {
  TTempTree tree(L"exists");
  const std::wstring file = tree.File(L"robocopy_log.txt", "x");
  const std::wstring hidden = tree.File(L"hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
  const std::wstring folder = tree.Folder(L"robocopy_log.dir");
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(hidden));
  EXPECT_FALSE(FileExists(folder));
  EXPECT_FALSE(FileExists(tree.Path(L"missing.txt")));
  EXPECT_FALSE(FileExists(L""));
  // A file held without any sharing still exists.
  UniqueFileHandle exclusive(
      CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(exclusive.Valid());
  EXPECT_TRUE(FileExists(file));
}

TEST(SyncFileSizeOf, IsTheFilesOwnWhileAnotherHandleWritesIt) {
  TTempTree tree(L"size-held");
  const std::wstring path = tree.Path(L"held.txt");
  UniqueFileHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.Valid());
  for (int64_t written = 1000; written <= 5000; written += 1000) {
    Append(writer.Get(), std::string(1000, 'x'));
    EXPECT_EQ(FileSizeOf(path), written);
  }
}

TEST(SyncFileSizeOf, IsTheRecordedSizeOrZero) {
  TTempTree tree(L"size");
  EXPECT_EQ(FileSizeOf(tree.Path(L"missing.txt")), 0);
  EXPECT_EQ(FileSizeOf(tree.Path(L"missing\\deeper.txt")), 0);
  EXPECT_EQ(FileSizeOf(tree.File(L"empty.txt")), 0);
  // On either side of the log size limit.
  EXPECT_EQ(FileSizeOf(tree.File(L"limit.txt", std::string(5242880, 'x'))), 5242880);
  EXPECT_EQ(FileSizeOf(tree.File(L"above.txt", std::string(5242881, 'x'))), 5242881);
}

TEST(SyncFileSizeOf, CountsBeyondFourGigabytes) {
  TTempTree tree(L"bigsize");
  const std::wstring path = tree.Path(L"big.log");
  constexpr int64_t kSize = (int64_t{5} << 30) + 3;
  {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.Valid());
    // Sparse where the file system can, so that no space is taken.
    DWORD returned = 0;
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = kSize;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.Get()));
  }
  EXPECT_EQ(FileSizeOf(path), kSize);
}

TEST(SyncTempFolder, IsTheSystemsTemporaryFolder) {
  wchar_t expected[MAX_PATH + 1] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH + 1, expected), 0u);
  const std::wstring folder = TempFolder();
  EXPECT_EQ(folder, expected);
  EXPECT_TRUE(wintest::IsFolder(folder)) << Narrow(folder);
  // Its write check leaves nothing behind.
  const std::wstring probe =
      folder + L"replimar-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  EXPECT_FALSE(wintest::PathPresent(probe));
}

// ---- The display conversion of the last line ----

// The text through the ANSI code page, and back.
std::wstring ThroughAnsi(const std::wstring& text) {
  char bytes[64] = {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes,
                                    64, nullptr, nullptr);
  wchar_t back[64] = {};
  const int m = MultiByteToWideChar(CP_ACP, 0, bytes, n, back, 64);
  return std::wstring(back, static_cast<size_t>(m));
}

// What the display conversion must give, worked out without OemToCharBuffA: the text's ANSI
// bytes read as OEM text, then shown through the ANSI code page.
std::wstring ExpectedDisplay(const std::wstring& text) {
  char bytes[64] = {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes,
                                    64, nullptr, nullptr);
  wchar_t oem[64] = {};
  const int m = MultiByteToWideChar(CP_OEMCP, 0, bytes, n, oem, 64);
  return ThroughAnsi(std::wstring(oem, static_cast<size_t>(m)));
}

TEST(SyncOemToDisplay, TreatsTheAnsiBytesAsOemText) {
  std::printf("[ figure ] ANSI code page %u, OEM code page %u\n", GetACP(), GetOEMCP());
  const std::wstring expected = ExpectedDisplay(L"\u00e9");
  ASSERT_EQ(expected.size(), 1u);
  EXPECT_EQ(OemToDisplay(L"\u00e9"), expected);
  if (GetACP() != GetOEMCP()) {
    EXPECT_NE(OemToDisplay(L"\u00e9"), L"\u00e9");
  }
  if (GetACP() == 1252 && GetOEMCP() == 850) {
    EXPECT_EQ(OemToDisplay(L"\u00e9"), L"\u00da");
  }
  if (GetACP() == 1252 && GetOEMCP() == 437) {
    // 0xE9 is a Greek capital theta in 437, which 1252 lacks: its stand-in shows.
    EXPECT_EQ(OemToDisplay(L"\u00e9"), ThroughAnsi(L"\u0398"));
  }
  // Within a line, each character is translated on its own.
  EXPECT_EQ(OemToDisplay(L"  100%  Fotos \u00e9 x"), L"  100%  Fotos " + expected + L" x");
}

TEST(SyncOemToDisplay, LeavesAsciiAndEmptyLinesAlone) {
  EXPECT_EQ(OemToDisplay(L""), L"");
  const std::wstring ascii = L"\t  12.5%\t\tNew File  \t\t  1.2 m\tC:\\x\\a b.mp4";
  EXPECT_EQ(OemToDisplay(ascii), ascii);
}

TEST(SyncOemToDisplay, ACharacterTheAnsiPageLacksShowsItsReplacement) {
  // A check mark has no place in the ANSI code page: its best-fit or default character is
  // what is translated.
  ASSERT_NE(ThroughAnsi(L"\u2713"), L"\u2713");
  EXPECT_EQ(OemToDisplay(L"a\u2713b"), ExpectedDisplay(L"a\u2713b"));
  EXPECT_EQ(OemToDisplay(L"\u00c0\u00e7\u00e3o\u00fc"),
            ExpectedDisplay(L"\u00c0\u00e7\u00e3o\u00fc"));
}

TEST(SyncAnsiDecoder, DecodesInTheAnsiCodePage) {
  char ansi = 0;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u00e9", 1, &ansi, 1, nullptr, nullptr), 1);
  const std::string bytes = std::string("caf") + ansi + "\r\n";
  EXPECT_EQ(SystemAnsiDecoder().Decode(bytes), L"caf\u00e9\r\n");
  EXPECT_EQ(SystemAnsiDecoder().Decode(""), L"");
}

// ---- Starting the tool ----

struct TProcessSeen {
  DWORD Id;
  std::wstring Image; // full path of the executable
};

std::vector<TProcessSeen> ProcessesNamed(const wchar_t* name) {
  std::vector<TProcessSeen> found;
  UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, name) != 0) continue;
    std::wstring image;
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (process) {
      wchar_t buffer[MAX_PATH * 2] = {};
      DWORD size = MAX_PATH * 2;
      if (QueryFullProcessImageNameW(process.Get(), 0, buffer, &size)) image = buffer;
    }
    found.push_back({entry.th32ProcessID, image});
  }
  return found;
}

std::wstring SystemTool() {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\robocopy.exe";
}

// Ends every robocopy.exe and waits until they are gone, before and after each test.
void EndEveryTool() {
  std::vector<UniqueHandle> waiting;
  for (const TProcessSeen& p : ProcessesNamed(L"robocopy.exe"))
    waiting.emplace_back(OpenProcess(SYNCHRONIZE, FALSE, p.Id));
  TerminateProcessByName(L"robocopy.exe");
  for (const UniqueHandle& process : waiting)
    if (process) WaitForSingleObject(process.Get(), 10000);
}

class StartSyncToolTest : public ::testing::Test {
protected:
  void SetUp() override {
    REPLIMAR_REQUIRE_TEST_PREFIX();
    ASSERT_TRUE(wintest::PathPresent(SystemTool()))
        << "the stand-in is not installed as " << Narrow(SystemTool());
    EndEveryTool();
    FSource = FTree.Folder(L"Origem \u00e9 x");
    FTree.File(L"Origem \u00e9 x\\clip.mp4", "frames");
    FDestination = FTree.Folder(L"Destino");
    FTree.Folder(L"log");
    FLog = FTree.Path(L"log\\robocopy_log.txt");
  }
  void TearDown() override {
    if (testprefix::InsideTestPrefix()) EndEveryTool();
  }

  // The robocopy.exe processes that were not there before.
  std::vector<TProcessSeen> NewTools(const std::set<DWORD>& before) const {
    std::vector<TProcessSeen> fresh;
    for (const TProcessSeen& p : ProcessesNamed(L"robocopy.exe"))
      if (!before.count(p.Id)) fresh.push_back(p);
    return fresh;
  }
  static std::set<DWORD> ToolIds() {
    std::set<DWORD> ids;
    for (const TProcessSeen& p : ProcessesNamed(L"robocopy.exe"))
      ids.insert(p.Id);
    return ids;
  }

  TTempTree FTree{L"start"};
  std::wstring FSource, FDestination, FLog;
};

TEST_F(StartSyncToolTest, StartsTheSystemsToolWhichMirrorsAndLogs) {
  const std::set<DWORD> before = ToolIds();
  UniqueHandle process;
  ASSERT_EQ(StartSyncTool(FSource, FDestination, FLog, process), 0u);
  std::vector<TProcessSeen> fresh;
  ASSERT_TRUE(WaitUntil([&] { return !(fresh = NewTools(before)).empty(); }))
      << "no robocopy.exe process appeared";
  ASSERT_EQ(fresh.size(), 1u);
  // The handle given back is the tool's own, and it runs.
  ASSERT_TRUE(process);
  EXPECT_EQ(GetProcessId(process.Get()), fresh[0].Id);
  EXPECT_EQ(WaitForSingleObject(process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(lstrcmpiW(fresh[0].Image.c_str(), SystemTool().c_str()), 0) << Narrow(fresh[0].Image);
  // The tool got the folders in the right places: the source's file reaches the destination.
  EXPECT_TRUE(WaitUntil([&] { return FileExists(FDestination + L"\\clip.mp4"); }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return FileSizeOf(FLog) > 0; }, 30000)) << "no log written";
  // The log is read while the tool holds it open; it is UTF-16 with its mark.
  const std::string bytes = ReadWholeFile(FLog);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  // The tool keeps running: it monitors the source.
  EXPECT_FALSE(NewTools(before).empty());
  EXPECT_NE(TerminateProcessByName(L"robocopy.exe"), 0);
}

TEST_F(StartSyncToolTest, NeverRunsAToolFromTheCurrentFolder) {
  // A copy of the sleeper named like the tool, in the current folder: it would write no log.
  const std::wstring decoyFolder = FTree.Folder(L"decoy");
  const std::wstring decoy = decoyFolder + L"\\robocopy.exe";
  ASSERT_TRUE(CopyFileW(REPLIMAR_SLEEPER_PATH, decoy.c_str(), FALSE));
  ASSERT_TRUE(SetCurrentDirectoryW(decoyFolder.c_str()));
  const std::set<DWORD> before = ToolIds();
  UniqueHandle process;
  ASSERT_EQ(StartSyncTool(FSource, FDestination, FLog, process), 0u);
  std::vector<TProcessSeen> fresh;
  ASSERT_TRUE(WaitUntil([&] { return !(fresh = NewTools(before)).empty(); }))
      << "no robocopy.exe process appeared";
  for (const TProcessSeen& p : fresh) {
    EXPECT_EQ(lstrcmpiW(p.Image.c_str(), SystemTool().c_str()), 0) << Narrow(p.Image);
    EXPECT_NE(lstrcmpiW(p.Image.c_str(), decoy.c_str()), 0);
  }
  EXPECT_TRUE(WaitUntil([&] { return FileSizeOf(FLog) > 0; }, 30000)) << "no log written";
  // The current folder is the caller's business: starting the tool leaves it alone.
  EXPECT_EQ(wintest::CurrentFolderNow(), decoyFolder);
}

} // namespace
