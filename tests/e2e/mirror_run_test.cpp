// "Sincronizar Agora" with the stand-in of the mirroring tool: files arrive, the gauge and the
// log pane follow the log, and a stop, a nested run and a close behave as the operator expects.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/MirrorFixture.h"
#include "ui/pure/LogText.h"
#include "ui/pure/SyncCommand.h"
#include <gtest/gtest.h>

namespace {

using namespace e2e;

const std::wstring kSyncNow = L"Sincronizar Agora";
const std::wstring kStop = L"Interromper";
const std::wstring kStarting = L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...";
const std::wstring kEnded = L"Sincroniza\u00e7\u00e3o encerrada.";

// The log's last line as the program shows a Unicode log: decoded, not translated.
std::wstring LastLogLine(const std::wstring& path) {
  const TAnsiDecoder latin1{
      [](std::string_view bytes) { return std::wstring(bytes.begin(), bytes.end()); }, {}};
  return SummarizeLog(ReadFileBytes(path), latin1).LastLine;
}

std::wstring LastPaneLine(const TOperator& app) {
  const auto lines = PaneLines(app.LogText());
  return lines.empty() ? std::wstring() : lines.back();
}

class MirrorRun : public TMirrorTest {};

TEST_F(MirrorRun, FilesArriveTheGaugeFillsAndTheStopEndsOnlyTheFollowing) {
  WriteFile(FSource + L"\\um.txt", "primeiro");
  WriteFile(FSource + L"\\dois.mp4", std::string(70000, 'v'));
  ASSERT_TRUE(CreateDirectoryW((FSource + L"\\sub").c_str(), nullptr));
  WriteFile(FSource + L"\\sub\\tres.xml", "<a/>");
  StartProgram();

  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  ASSERT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kStarting) == 1; },
                      kActionTimeout));
  const std::wstring expected = L"Comando: " + BuildSyncCommand(FSource, FDestination, LogPath());
  // The first pass replaces the command line; it may already have happened.
  const std::wstring pane = FApp->LogText();
  EXPECT_TRUE(pane.find(expected) != std::wstring::npos || PaneLines(pane).size() == 2)
      << Utf8(pane);

  ASSERT_TRUE(WaitFor(
      [&] {
        return ReadFileBytes(FDestination + L"\\um.txt") == "primeiro" &&
               ReadFileBytes(FDestination + L"\\dois.mp4").size() == 70000 &&
               ReadFileBytes(FDestination + L"\\sub\\tres.xml") == "<a/>";
      },
      kStartTimeout))
      << "files did not arrive in the destination";
  EXPECT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"100%"; }, kActionTimeout))
      << Utf8(FApp->GaugeText());
  EXPECT_TRUE(
      WaitFor([&] { return LastPaneLine(*FApp) == LastLogLine(LogPath()); }, kActionTimeout))
      << "pane: " << Utf8(LastPaneLine(*FApp)) << " log: " << Utf8(LastLogLine(LogPath()));

  ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
  // The closing line follows within a pass (300 ms), well inside the limit.
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, std::chrono::seconds(3)));
  EXPECT_EQ(CountProcesses(L"robocopy.exe"), 1) << "the tool keeps mirroring after a stop";

  // And it really keeps mirroring: a new file still arrives.
  WriteFile(FSource + L"\\quatro.txt", "depois");
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(FDestination + L"\\quatro.txt") == "depois"; },
                      kStartTimeout));
}

// The nested run's tool takes the place of the outer run's (one mirror at a time).
TEST_F(MirrorRun, ASecondPressNestsARunAndOneStopEndsBoth) {
  ASSERT_NE(StartNestedRuns(), 0u) << CountProcesses(kToolImage) << " tools";
  ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
  EXPECT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kEnded) == 2; },
                      std::chrono::seconds(3)))
      << Utf8(FApp->LogText());
  EXPECT_EQ(LastPaneLine(*FApp), kEnded);
}

TEST_F(MirrorRun, ClosingDuringARunEndsTheProgramButNotTheTool) {
  WriteFile(FSource + L"\\a.txt", "a");
  StartProgram();
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  ASSERT_TRUE(WaitFor([] { return CountProcesses(L"robocopy.exe") == 1; }, kActionTimeout));
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_EQ(CountProcesses(L"robocopy.exe"), 1);
}

TEST_F(MirrorRun, OverlappingFoldersAreRefusedBeforeAnythingStarts) {
  const std::wstring inside = FSource + L"\\copia";
  ASSERT_TRUE(CreateDirectoryW(inside.c_str(), nullptr));
  RegistryValue(L"escrever", L"storage_Destino", inside);
  StartProgram();
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(FindAll(box, L"STATIC").back()), kFoldersOverlapMessage);
  PostMessageW(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActionTimeout));
  EXPECT_EQ(FApp->LogText(), L"");
  EXPECT_EQ(CountProcesses(L"robocopy.exe"), 0);
}

TEST_F(MirrorRun, ATheToolThatCannotStartIsReportedInThePane) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring tool = std::wstring(system) + L"\\robocopy.exe";
  const std::wstring aside = tool + L".aside";
  ASSERT_TRUE(MoveFileExW(tool.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
  StartProgram();
  FApp->Click(FApp->Button(kSyncNow));
  const bool reported = WaitFor(
      [&] {
        return FApp->LogText().find(L"N\u00e3o foi poss\u00edvel iniciar o robocopy: ") !=
               std::wstring::npos;
      },
      kActionTimeout);
  MoveFileExW(aside.c_str(), tool.c_str(), MOVEFILE_REPLACE_EXISTING);
  EXPECT_TRUE(reported) << Utf8(FApp->LogText());
  FApp->Click(FApp->Button(kStop));
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, std::chrono::seconds(3)));
}

} // namespace
