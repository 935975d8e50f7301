// What the mirror run takes from the system: the log's folder, and starting the tool from the
// system folder only.
#include "WinTestSupport.h"
#include "funcoes/Files.h"
#include "funcoes/ProcessTerminator.h"
#include "ui/SyncTool.h"
#include "ui/pure/SyncCommand.h"
#include <windows.h>
#include <tlhelp32.h>
#include "tests/TestPrefix.h"
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

using wintest::FileSizeOf;
using wintest::Narrow;
using wintest::ReadWholeFile;
using wintest::TTempTree;
using wintest::WaitUntil;

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
  ASSERT_EQ(StartSyncTool(BuildSyncArguments(FSource, FDestination, FLog), process), 0u);
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
  ASSERT_EQ(StartSyncTool(BuildSyncArguments(FSource, FDestination, FLog), process), 0u);
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
