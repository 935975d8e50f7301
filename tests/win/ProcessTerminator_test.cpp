#include "funcoes/ProcessTerminator.h"
#include "funcoes/Handles.h"
#include <windows.h>
#include <sddl.h>
#include <tlhelp32.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "tests/TestPrefix.h"
#include <gtest/gtest.h>

namespace {

constexpr DWORD kExitTimeoutMs = 10000;
// How long a process that must not be ended is watched after the call.
constexpr DWORD kSurviveMs = 500;

// Every process of the snapshot with its executable text, in the snapshot's order.
std::vector<std::pair<DWORD, std::wstring>> ProcessList() {
  std::vector<std::pair<DWORD, std::wstring>> list;
  UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry))
    list.emplace_back(entry.th32ProcessID, entry.szExeFile);
  return list;
}

bool EndsInTime(HANDLE process) {
  return WaitForSingleObject(process, kExitTimeoutMs) == WAIT_OBJECT_0;
}
bool KeepsRunning(HANDLE process, DWORD forMs = 0) {
  return WaitForSingleObject(process, forMs) == WAIT_TIMEOUT;
}
DWORD ExitCodeOf(HANDLE process) {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  return code;
}

struct TStarted {
  HANDLE process;
  DWORD id;
};

// Starts copies of the sleeper under chosen file names, each in a folder of its own so that
// one name can run twice, and ends and removes whatever is left afterwards.
class TerminateProcessByNameTest : public ::testing::Test {
protected:
  void SetUp() override {
    REPLIMAR_REQUIRE_TEST_PREFIX();
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    FRoot = std::wstring(temp) + L"replimar_terminator_" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(FRoot.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }

  void TearDown() override {
    for (const UniqueHandle& process : FProcesses) {
      TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), kExitTimeoutMs);
    }
    FProcesses.clear();
    for (auto it = FFiles.rbegin(); it != FFiles.rend(); ++it) {
      DeleteFileW(it->c_str());
      RemoveDirectoryW(it->substr(0, it->find_last_of(L'\\')).c_str());
    }
    RemoveDirectoryW(FRoot.c_str());
  }

  // denyTerminate: the process's security refuses PROCESS_TERMINATE to everyone, so it
  // cannot be opened to be ended (the handle returned here may still end it).
  TStarted Start(const std::wstring& fileName, bool denyTerminate = false) {
    const std::wstring folder = FRoot + L"\\" + std::to_wstring(FFiles.size());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + fileName;
    if (!CopyFileW(REPLIMAR_SLEEPER_PATH, path.c_str(), FALSE)) {
      ADD_FAILURE() << "cannot copy the sleeper, error " << GetLastError();
      return {};
    }
    FFiles.push_back(path);

    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (denyTerminate &&
        !ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(D;;0x0001;;;WD)(A;;GA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr)) {
      ADD_FAILURE() << "cannot build the security descriptor";
      return {};
    }
    SECURITY_ATTRIBUTES security{sizeof(security), descriptor, FALSE};
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + path + L"\"";
    const BOOL started =
        CreateProcessW(path.c_str(), commandLine.data(), descriptor ? &security : nullptr, nullptr,
                       FALSE, 0, nullptr, nullptr, &startup, &info);
    if (descriptor) LocalFree(descriptor);
    if (!started) {
      ADD_FAILURE() << "cannot start the sleeper, error " << GetLastError();
      return {};
    }
    CloseHandle(info.hThread);
    FProcesses.emplace_back(info.hProcess);
    return {info.hProcess, info.dwProcessId};
  }

  std::wstring FRoot;
  std::vector<std::wstring> FFiles;
  std::vector<UniqueHandle> FProcesses;
};

TEST_F(TerminateProcessByNameTest, SnapshotUnderThisSystemNamesTheFileOnly) {
  // Premise of the folder test below: the process list gives the file name, not the path.
  const TStarted started = Start(L"robocopy.exe");
  const auto list = ProcessList();
  const auto entry =
      std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.first == started.id; });
  ASSERT_NE(entry, list.end());
  EXPECT_EQ(entry->second, L"robocopy.exe");
}

TEST_F(TerminateProcessByNameTest, NoMatchGivesZeroAndEndsNothing) {
  const TStarted others[] = {Start(L"robocopy2.exe"), Start(L"xrobocopy.exe"),
                             Start(L"robocopy.exe.exe")};
  EXPECT_EQ(TerminateProcessByName(L"robocopy.exe"), 0);
  for (const TStarted& other : others)
    EXPECT_TRUE(KeepsRunning(other.process, kSurviveMs));
}

TEST_F(TerminateProcessByNameTest, EndsEveryCopyWithExitCodeZeroAndNothingElse) {
  const TStarted first = Start(L"robocopy.exe");
  const TStarted second = Start(L"ROBOCOPY.EXE");
  const TStarted other = Start(L"robocopy2.exe");
  EXPECT_NE(TerminateProcessByName(L"robocopy.exe"), 0);
  for (const TStarted& copy : {first, second}) {
    ASSERT_TRUE(EndsInTime(copy.process));
    EXPECT_EQ(ExitCodeOf(copy.process), 0u);
  }
  EXPECT_TRUE(KeepsRunning(other.process));
}

TEST_F(TerminateProcessByNameTest, AsciiCaseIsIgnoredEitherWay) {
  for (const wchar_t* fileName : {L"robocopy.exe", L"ROBOCOPY.EXE", L"RoBoCopY.eXe"})
    for (const wchar_t* name : {L"robocopy.exe", L"ROBOCOPY.EXE", L"rObOcOpY.ExE"}) {
      const TStarted started = Start(fileName);
      EXPECT_NE(TerminateProcessByName(name), 0) << fileName << " / " << name;
      EXPECT_TRUE(EndsInTime(started.process)) << fileName << " / " << name;
    }
}

TEST_F(TerminateProcessByNameTest, NonAsciiCaseIsNotIgnored) {
  const TStarted started = Start(L"robocop\u00e9.exe");
  EXPECT_EQ(TerminateProcessByName(L"ROBOCOP\u00c9.EXE"), 0);
  EXPECT_TRUE(KeepsRunning(started.process, kSurviveMs));
  // Only the é is in the way: with it as it is, the ASCII letters match in any case.
  EXPECT_NE(TerminateProcessByName(L"ROBOCOP\u00e9.EXE"), 0);
  EXPECT_TRUE(EndsInTime(started.process));
}

TEST_F(TerminateProcessByNameTest, NameWithAFolderMatchesOnlyTheWholeText) {
  // The entry's whole text is the bare file name here, so the process's own full path is no
  // match, though its file-name part would be.
  const TStarted started = Start(L"robocopy.exe");
  EXPECT_EQ(TerminateProcessByName(FFiles.back()), 0);
  EXPECT_EQ(TerminateProcessByName(L"C:\\robocopy.exe"), 0);
  EXPECT_TRUE(KeepsRunning(started.process, kSurviveMs));
}

// A match that cannot be opened is passed over; the result is that of the match the snapshot
// lists last, whatever came before it.
TEST_F(TerminateProcessByNameTest, TheLastMatchDecidesTheResult) {
  bool sawSuccessLast = false, sawFailureLast = false;
  for (const bool refusingFirst : {true, false}) {
    const TStarted a = Start(L"robocopy.exe", refusingFirst);
    const TStarted b = Start(L"robocopy.exe", !refusingFirst);
    const TStarted& refusing = refusingFirst ? a : b;
    const TStarted& endable = refusingFirst ? b : a;

    DWORD lastListed = 0;
    for (const auto& [id, exe] : ProcessList())
      if (id == a.id || id == b.id) lastListed = id;
    const bool refusingIsLast = lastListed == refusing.id;
    (refusingIsLast ? sawFailureLast : sawSuccessLast) = true;

    const int32_t result = TerminateProcessByName(L"robocopy.exe");
    if (refusingIsLast)
      EXPECT_EQ(result, 0);
    else
      EXPECT_NE(result, 0);
    EXPECT_TRUE(EndsInTime(endable.process));
    EXPECT_TRUE(KeepsRunning(refusing.process));
    ASSERT_TRUE(TerminateProcess(refusing.process, 1));
    ASSERT_TRUE(EndsInTime(refusing.process));
  }
  // The system lists processes in the order they started, so both orders were met.
  EXPECT_TRUE(sawSuccessLast && sawFailureLast);
}

} // namespace
