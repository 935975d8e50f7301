// Folders on a file server: a mapped drive (N:\obra) or a share (\\nas\videos) whose server
// answers late, or not at all for a while. The window shows, answers and stops whatever the
// server does; a folder that has not answered is shown as waiting and is no choice for a run.
//
// The server is the test rig's FUSE file system (tests/rig/slowfs.c), mounted by the test
// scripts and linked into the prefix as drive N: and as \\nas\videos (scripts/wine-env.sh).
// Where it cannot be mounted (no /dev/fuse), these tests skip and say so.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/AnswerProbe.h"
#include "tests/e2e/FaultSupport.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>
#include <gtest/gtest.h>

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

const std::wstring kDrive = L"N:";
const std::wstring kShare = L"\\\\nas\\videos";
const std::wstring kObra = kDrive + L"\\obra";
// Longer than any silent step of a test, which ends it itself; short enough that a test stuck
// on it is not stuck for long.
constexpr int kLongSilenceSeconds = 60;

// The goals, and what the tests allow for them on a loaded two-core host running Wine.
constexpr long long kShowLimitMs = 1000, kShowAllowedMs = 2000;
constexpr long long kAnswerLimitMs = 100, kAnswerAllowedMs = 500;
constexpr long long kStopLimitMs = 1000, kStopAllowedMs = 2000;
constexpr long long kDialogLimitMs = 1000, kDialogAllowedMs = 2000;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The refusal of a run while a folder has not answered; the folder as stored.
std::wstring NotAnswered(const std::wstring& folder) {
  return L"A pasta " + folder + L" ainda n\u00e3o respondeu.";
}

// A list whose folder has not answered shows one row that says so, naming the folder.
::testing::AssertionResult ShowsWaitingFor(HWND list, const std::wstring& folder) {
  const std::vector<std::wstring> rows = ListItems(list);
  const std::wstring start = L"Aguardando resposta de " + folder;
  if (rows.size() == 1 && rows.front().rfind(start, 0) == 0) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure() << rows.size() << " rows:";
  for (const std::wstring& row : rows)
    failure << " \"" << Utf8(row) << "\"";
  return failure;
}

// Lets the probe ask the window until it has asked 40 times (at most 10 s), prints what it saw
// and holds it to the goal.
void ExpectAnswers(TAnswerProbe& probe, const char* situation) {
  WaitFor([&] { return probe.Asked() >= 40; }, std::chrono::seconds(10));
  probe.Stop();
  std::printf("[file server] %s: %d answers asked, %d unanswered, longest wait %lld ms (limit "
              "%lld, allowed %lld)\n",
              situation, probe.Asked(), probe.Unanswered(), probe.Longest(), kAnswerLimitMs,
              kAnswerAllowedMs);
  EXPECT_EQ(probe.Unanswered(), 0);
  EXPECT_LE(probe.Longest(), kAnswerAllowedMs);
}

// The rig as the tests see it: its control file and the folder it serves, both outside the
// mount (on drive Z:, the Unix root), so that writing them never waits on the server.
class TFileServer {
public:
  // Whether the server is mounted as N: and \\nas\videos: a file put into the served folder
  // beside the server shows through both.
  static bool Mounted() {
    if (!Exists(REPLIMAR_FILE_SERVER_BACKING_PATH) || !Exists(kDrive + L"\\")) return false;
    const std::wstring probe = L"replimar-rig-probe.txt";
    WriteFile(Backing(probe), "probe");
    const bool seen = Exists(kDrive + L"\\" + probe) && Exists(kShare + L"\\" + probe);
    DeleteFileW(Backing(probe).c_str());
    return seen;
  }
  // Every call is answered at once.
  static void Answer() { Control(""); }
  // Every call waits ms first: a server some way off.
  static void Wait(int ms) { Control("wait " + std::to_string(ms) + "\n"); }
  // Every call waits until seconds from now, or until Answer.
  static void Silence(int seconds) { Control("silent " + std::to_string(seconds) + "\n"); }
  // A path in the served folder, as seen beside the server.
  static std::wstring Backing(const std::wstring& relative) {
    return std::wstring(REPLIMAR_FILE_SERVER_BACKING_PATH) + L"\\" + relative;
  }

private:
  static void Control(const std::string& text) {
    WriteFile(REPLIMAR_FILE_SERVER_CONTROL_PATH, text);
  }
};

constexpr char kNotMounted[] =
    "file-server rig not mounted (N: and \\\\nas\\videos); scripts/test.sh and scripts/e2e.sh "
    "mount it where /dev/fuse exists";

// The served folder obra, fresh for each test; the server answering at the start and the end.
template <typename Base> class TOnFileServer : public Base {
protected:
  void SetUp() override {
    Base::SetUp();
    if (this->HasFatalFailure()) return;
    TFileServer::Answer();
    if (!TFileServer::Mounted()) GTEST_SKIP() << kNotMounted;
    RemoveTree(TFileServer::Backing(L"obra"));
    ASSERT_TRUE(CreateDirectoryW(TFileServer::Backing(L"obra").c_str(), nullptr));
  }
  void TearDown() override {
    // A program held by the server goes on, and can be closed.
    TFileServer::Answer();
    Base::TearDown();
    RemoveTree(TFileServer::Backing(L"obra"));
  }
};

using FileServerRig = TOnFileServer<::testing::Test>;
using FileServer = TOnFileServer<TMirrorTest>;

// How long one call on the server took, in ms.
long long TimedAttributes(const std::wstring& path) {
  const auto asked = Clock::now();
  GetFileAttributesW(path.c_str());
  return MillisecondsSince(asked);
}

// Starts a command line and waits for its exit code (STILL_ACTIVE when it did not end in time).
DWORD RunToEnd(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &info))
    return GetLastError();
  UniqueHandle process(info.hProcess), thread(info.hThread);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.Get(), static_cast<DWORD>(kExitTimeout.count())) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.Get(), &code);
  return code;
}

// The rig itself: a call waits the set time; a silent server holds the calling thread until
// it answers again, and nothing else (the wineserver never waits on it).
TEST_F(FileServerRig, CallsWaitAsTheServerIsSetAndASilenceHoldsOnlyTheCallingThread) {
  TFileServer::Wait(300);
  const long long slow = TimedAttributes(kObra);
  TFileServer::Answer();
  const long long prompt = TimedAttributes(kObra);
  std::printf("[file server] a path look-up: %lld ms with a wait of 300 ms, %lld ms answering\n",
              slow, prompt);
  EXPECT_GE(slow, 300);
  EXPECT_LT(prompt, 300);
  EXPECT_NE(GetFileAttributesW(kObra.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(GetFileAttributesW((kShare + L"\\obra").c_str()), INVALID_FILE_ATTRIBUTES);

  TFileServer::Silence(kLongSilenceSeconds);
  std::atomic<long long> held{-1};
  std::thread caller([&] { held = TimedAttributes(kObra); });
  // Meanwhile this thread's calls elsewhere, a drive's label (the mount manager) and a whole
  // Wine process go through the prefix's shared processes: none of them waits.
  const auto elsewhere = Clock::now();
  const std::wstring local = L"C:\\replimar-rig-local.txt";
  WriteFile(local, "local");
  EXPECT_EQ(ReadFileBytes(local), "local");
  DeleteFileW(local.c_str());
  EXPECT_NE(GetVolumeInformationW(L"C:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0),
            FALSE);
  EXPECT_EQ(RunToEnd(L"cmd.exe /c exit 7"), 7u);
  const long long elsewhereMs = MillisecondsSince(elsewhere);
  EXPECT_FALSE(WaitFor([&] { return held != -1; }, std::chrono::milliseconds(500)))
      << "the call came back while the server was silent";
  const auto answered = Clock::now();
  TFileServer::Answer();
  caller.join();
  const long long releasedMs = MillisecondsSince(answered);
  std::printf("[file server] silent: a call held %lld ms, until the server answered again "
              "(%lld ms after); calls elsewhere and a process run meanwhile: %lld ms\n",
              held.load(), releasedMs, elsewhereMs);
  EXPECT_LT(elsewhereMs, 5000);
  EXPECT_LT(releasedMs, 1000);
}

// The stored destination is on a server that does not answer: the window shows and answers at
// once, the destination's list says it waits, and a run is refused naming the folder. When the
// server answers, the list fills and a run goes.
TEST_F(FileServer, TheWindowShowsAndAnswersWhileTheDestinationsServerIsSilent) {
  RegistryValue(L"escrever", L"storage_Destino", kObra);
  TFileServer::Silence(kLongSilenceSeconds);
  const auto started = Clock::now();
  const long long shownAfter = StartProgramTimed(std::chrono::milliseconds(5 * kShowAllowedMs));
  std::printf("[file server] silent destination: window shown %lld ms after the process was "
              "created (limit %lld, allowed %lld)\n",
              shownAfter, kShowLimitMs, kShowAllowedMs);
  ASSERT_GE(shownAfter, 0) << "no window while the server is silent";
  EXPECT_LE(shownAfter, kShowAllowedMs);
  ASSERT_TRUE(FApp->Started());

  TAnswerProbe probe(FApp->MainWindow());
  EXPECT_TRUE(WaitFor([&] { return ShowsWaitingFor(FApp->DestinationDirectoryList(), kObra); },
                      kActionTimeout))
      << ShowsWaitingFor(FApp->DestinationDirectoryList(), kObra).message();
  ExpectRunRefused(NotAnswered(kObra));
  // The first 10 s after the start, all with the server silent.
  WaitFor([&] { return MillisecondsSince(started) >= 10000; }, std::chrono::seconds(12));
  probe.Stop();
  std::printf("[file server] silent destination, first 10 s: %d answers asked, %d unanswered, "
              "longest wait %lld ms (limit %lld, allowed %lld)\n",
              probe.Asked(), probe.Unanswered(), probe.Longest(), kAnswerLimitMs, kAnswerAllowedMs);
  EXPECT_EQ(probe.Unanswered(), 0);
  EXPECT_GT(probe.Asked(), 20);
  EXPECT_LE(probe.Longest(), kAnswerAllowedMs);
  EXPECT_TRUE(ShowsWaitingFor(FApp->DestinationDirectoryList(), kObra));

  // The server answers again.
  ASSERT_TRUE(CreateDirectoryW(TFileServer::Backing(L"obra\\entregas").c_str(), nullptr));
  TFileServer::Answer();
  const HWND destinations = FApp->DestinationDirectoryList();
  EXPECT_TRUE(WaitFor(
      [&] {
        const std::vector<std::wstring> rows = ListItems(destinations);
        return ShownRow(destinations) == L"obra" &&
               std::find(rows.begin(), rows.end(), L"entregas") != rows.end();
      },
      kActionTimeout))
      << "rows: " << ListItems(destinations).size();
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"" + kObra + L"\""), std::wstring::npos)
      << Utf8(command);
}

// The operator opens a subfolder of the source just as its server falls silent: the window
// answers, the list says it waits for that folder, and a run is refused naming it. When the
// server answers, the list and its file list show the subfolder, and a run mirrors from it.
TEST_F(FileServer, ASubfolderOpenedOnASilentServerIsWaitedForWhileTheWindowAnswers) {
  ASSERT_TRUE(CreateDirectoryW(TFileServer::Backing(L"obra\\entregas").c_str(), nullptr));
  WriteFile(TFileServer::Backing(L"obra\\entregas\\corte.mp4"), "cut");
  RegistryValue(L"escrever", L"storage_Origem", kObra);
  StartProgram();
  const HWND list = FApp->SourceDirectoryList();
  std::vector<std::wstring> rows;
  ASSERT_TRUE(WaitFor(
      [&] {
        rows = ListItems(list);
        return ShownRow(list) == L"obra" &&
               std::find(rows.begin(), rows.end(), L"entregas") != rows.end();
      },
      kActionTimeout));
  const auto row = std::find(rows.begin(), rows.end(), L"entregas") - rows.begin();
  ASSERT_TRUE(FocusOn(*FApp, list));
  ASSERT_NE(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0), LB_ERR);

  TFileServer::Silence(kLongSilenceSeconds);
  TAnswerProbe probe(FApp->MainWindow());
  ASSERT_TRUE(FApp->PressKey(VK_RETURN));
  const std::wstring entregas = kObra + L"\\entregas";
  EXPECT_TRUE(WaitFor([&] { return ShowsWaitingFor(list, entregas); }, kActionTimeout))
      << ShowsWaitingFor(list, entregas).message();
  ExpectRunRefused(NotAnswered(entregas));
  ExpectAnswers(probe, "a subfolder opened on a silent server");

  TFileServer::Answer();
  EXPECT_TRUE(WaitFor([&] { return ShownRow(list) == L"entregas"; }, kActionTimeout));
  EXPECT_TRUE(WaitFor(
      [&] { return ListItems(FApp->SourceFileList()) == std::vector<std::wstring>{L"corte.mp4"}; },
      kActionTimeout));
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + entregas + L"\" \"" + FDestination + L"\""), std::wstring::npos)
      << Utf8(command);
}

// The source button when the stored source's server is silent: the folder dialog opens at once.
TEST_F(FileServer, TheSourceButtonOpensItsDialogAtOnceWhileTheSourcesServerIsSilent) {
  RegistryValue(L"escrever", L"storage_Origem", kObra);
  TFileServer::Silence(kLongSilenceSeconds);
  ASSERT_GE(StartProgramTimed(std::chrono::milliseconds(5 * kShowAllowedMs)), 0)
      << "no window while the server is silent";
  ASSERT_TRUE(FApp->Started());
  const HWND button = FApp->Button(L"Folder Origem");
  const auto clicked = Clock::now();
  ASSERT_TRUE(FApp->Click(button));
  const HWND dialog = FApp->WaitForTopLevel(kFolderDialogCaption, L"", kActionTimeout);
  const long long openedAfter = MillisecondsSince(clicked);
  std::printf("[file server] silent source: the folder dialog opened %lld ms after the click "
              "(limit %lld, allowed %lld)\n",
              openedAfter, kDialogLimitMs, kDialogAllowedMs);
  ASSERT_NE(dialog, nullptr) << "no folder dialog; windows: "
                             << Utf8(FApp->DescribeTopLevelWindows());
  EXPECT_LE(openedAfter, kDialogAllowedMs);
  const std::wstring cancel = L"Cancel";
  const auto buttons = FindAll(dialog, L"Button", &cancel);
  ASSERT_FALSE(buttons.empty());
  PostMessageW(buttons.front(), BM_CLICK, 0, 0);
  EXPECT_TRUE(
      WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kActionTimeout));
  EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))) << "the click handler did not end";
}

// A share as source and destination, on a server some milliseconds away: the run mirrors.
TEST_F(FileServer, ASharesFoldersAreMirrored) {
  const std::wstring source = kShare + L"\\obra\\origem";
  const std::wstring destination = kShare + L"\\obra\\destino";
  ASSERT_TRUE(CreateDirectoryW(TFileServer::Backing(L"obra\\origem").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(TFileServer::Backing(L"obra\\destino").c_str(), nullptr));
  WriteFile(TFileServer::Backing(L"obra\\origem\\antes.mp4"), "before");
  RegistryValue(L"escrever", L"storage_Origem", source);
  RegistryValue(L"escrever", L"storage_Destino", destination);
  TFileServer::Wait(5);
  StartProgram();
  EXPECT_TRUE(
      WaitFor([&] { return ShownRow(FApp->SourceDirectoryList()) == L"origem"; }, kActionTimeout));
  EXPECT_TRUE(WaitFor([&] { return ShownRow(FApp->DestinationDirectoryList()) == L"destino"; },
                      kActionTimeout));
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + source + L"\" \"" + destination + L"\""), std::wstring::npos)
      << Utf8(command);
  EXPECT_TRUE(WaitFor(
      [&] { return ReadFileBytes(TFileServer::Backing(L"obra\\destino\\antes.mp4")) == "before"; },
      kStartTimeout))
      << "not mirrored; pane: " << Utf8(FApp->LogText());
  WriteFile(source + L"\\depois.mp4", "after");
  EXPECT_TRUE(WaitFor(
      [&] { return ReadFileBytes(TFileServer::Backing(L"obra\\destino\\depois.mp4")) == "after"; },
      kStartTimeout))
      << "the mirror did not go on; pane: " << Utf8(FApp->LogText());
}

enum class TStopBy { Button, Close };

class FileServerCount : public TOnFileServer<TToolAsideTest>,
                        public ::testing::WithParamInterface<TStopBy> {};

constexpr int kCountedFolders = 20, kFilesPerFolder = 50;
const std::wstring kMonitorLine = L"Monitor : aguardando";

// A source 20 ms away stops answering while the run counts its files: the window answers, and
// "Interromper" or the close end the run within a second.
TEST_P(FileServerCount, ASourceThatStopsAnsweringDuringTheCountNeverHoldsTheWindow) {
  for (int d = 0; d < kCountedFolders; ++d) {
    const std::wstring folder = L"obra\\pasta" + std::to_wstring(d);
    ASSERT_TRUE(CreateDirectoryW(TFileServer::Backing(folder).c_str(), nullptr));
    for (int f = 0; f < kFilesPerFolder; ++f)
      WriteFile(TFileServer::Backing(folder + L"\\clip" + std::to_wstring(f) + L".mp4"), "");
  }
  RegistryValue(L"escrever", L"storage_Origem", kObra);
  TFileServer::Wait(20);
  StartFollowing();
  if (HasFatalFailure()) return;
  // One "%" line per file: a count that ended would show 100%.
  AppendFile(LogPath(), ProgressLog(kCountedFolders * kFilesPerFolder, Utf8(kMonitorLine)));
  ASSERT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kMonitorLine; }, kActionTimeout))
      << Utf8(FApp->LogText());
  ASSERT_EQ(FApp->GaugeText(), L"0%") << "the count ended before the server could fall silent";
  TFileServer::Silence(kLongSilenceSeconds);

  TAnswerProbe probe(FApp->MainWindow());
  ExpectAnswers(probe, "source silent during the count");

  // Found before the clock starts: finding a widget asks the window for texts.
  const HWND stop = FApp->Button(kStop);
  const auto stopped = Clock::now();
  if (GetParam() == TStopBy::Button) {
    ASSERT_TRUE(FApp->Click(stop));
    const bool ended = WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout);
    const long long took = MillisecondsSince(stopped);
    std::printf("[file server] \"Interromper\" with the source silent: run ended after %lld ms "
                "(limit %lld, allowed %lld)\n",
                took, kStopLimitMs, kStopAllowedMs);
    ASSERT_TRUE(ended) << Utf8(FApp->LogText());
    EXPECT_LE(took, kStopAllowedMs);
    EXPECT_EQ(FApp->GaugeText(), L"0%") << "the count went on while the server was silent";
    EXPECT_TRUE(WindowUsable());
  } else {
    const DWORD code = FApp->Close(std::chrono::milliseconds(kStopAllowedMs));
    std::printf("[file server] close with the source silent: program ended after %lld ms "
                "(limit %lld, allowed %lld)\n",
                MillisecondsSince(stopped), kStopLimitMs, kStopAllowedMs);
    EXPECT_EQ(code, 0u) << "the program did not end in time";
  }
}

INSTANTIATE_TEST_SUITE_P(FileServer, FileServerCount,
                         ::testing::Values(TStopBy::Button, TStopBy::Close),
                         [](const ::testing::TestParamInfo<TStopBy>& info) {
                           return info.param == TStopBy::Button ? "Interromper" : "Close";
                         });

} // namespace
