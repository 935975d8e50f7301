// What the operator can do at a bad moment: close during the count, a pass, a nested run or
// while a box is open; press "Sincronizar Agora" and "Interromper" 200 times in a row; run with
// the temporary folder missing or unusable, or the destination removed under the window.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/FaultSupport.h"
#include "ui/pure/SyncCommand.h"
#include <gtest/gtest.h>

namespace {

using namespace e2e;

class FaultOperator : public TMirrorTest {};
class FaultOperatorToolAside : public TToolAsideTest {};

TEST_F(FaultOperator, CloseDuringTheCountEndsTheProgramNotTheTool) {
  // Enough files that the count, which dispatches no messages, takes a noticeable time.
  for (int d = 0; d < 20; ++d) {
    const std::wstring folder = FSource + L"\\d" + std::to_wstring(d);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    for (int f = 0; f < 100; ++f)
      WriteFile(folder + L"\\f" + std::to_wstring(f), "");
  }
  StartProgram();
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  ASSERT_TRUE(WaitFor([&] { return FApp->LogText().find(L"Comando: ") != std::wstring::npos; },
                      kActionTimeout));
  PostMessageW(FApp->MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FApp->WaitForExit(kExitTimeout), 0u);
  EXPECT_EQ(CountProcesses(L"robocopy.exe"), 1);
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Origem", L""), FSource);
}

TEST_F(FaultOperator, CloseDuringANestedRunEndsBothRunsAndTheProgram) {
  const DWORD nested = StartNestedRuns();
  ASSERT_NE(nested, 0u) << CountProcesses(kToolImage) << " tools";
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_EQ(ProcessIds(kToolImage), std::vector<DWORD>{nested}) << "the nested run's tool goes on";
  EXPECT_TRUE(
      WaitFor([&] { return ReadFileBytes(FDestination + L"\\a.txt") == "a"; }, kActionTimeout));
}

TEST_F(FaultOperator, CloseWhileAMessageBoxIsOpenEndsTheProgram) {
  const std::wstring inside = FSource + L"\\copia";
  ASSERT_TRUE(CreateDirectoryW(inside.c_str(), nullptr));
  RegistryValue(L"escrever", L"storage_Destino", inside);
  StartProgram();
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
  ASSERT_NE(box, nullptr);
  // The taskbar's Close reaches the main window while the box is open.
  PostMessageW(FApp->MainWindow(), WM_CLOSE, 0, 0);
  const DWORD code = FApp->WaitForExit(kExitTimeout);
  std::printf("[fault] close with the box open: %s\n",
              code == STILL_ACTIVE ? (IsWindow(box) ? "box still open" : "window still open")
                                   : ("exit code " + std::to_string(code)).c_str());
  if (code == STILL_ACTIVE) {
    // Still running: the box is answered, and then the close goes through.
    if (IsWindow(box)) PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
    EXPECT_EQ(FApp->Close(), 0u);
  } else {
    EXPECT_EQ(code, 0u);
  }
  EXPECT_EQ(RegistryValue(L"ler", L"storage_Destino", L""), inside);
}

TEST_F(FaultOperatorToolAside, CloseWhileTheErrorReportIsOpenEndsTheProgram) {
  StartFollowing();
  WriteFile(LogPath(), "linha\r\n");
  ASSERT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == L"linha"; }, kActionTimeout));
  UniqueFileHandle lock(CreateFileW(LogPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock.Valid());
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
  ASSERT_NE(box, nullptr);
  PostMessageW(FApp->MainWindow(), WM_CLOSE, 0, 0);
  const DWORD code = FApp->WaitForExit(kExitTimeout);
  if (code == STILL_ACTIVE) {
    if (IsWindow(box)) PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
    EXPECT_EQ(FApp->Close(), 0u);
  } else {
    EXPECT_EQ(code, 0u);
  }
}

// Each press of "Sincronizar Agora" during a run nests a run inside the running one. Nesting is
// bounded (16 runs): further presses only beep, so 200 queued pairs end in 16 runs, all stopped.
TEST_F(FaultOperatorToolAside, TwoHundredAlternatePressesOfSyncAndStop) {
  StartProgram();
  const HWND sync = FApp->Button(kSyncNow);
  const HWND stop = FApp->Button(kStop);
  // All 400 presses queued at once, as a hasty operator's clicks pile up behind a busy pass.
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(FApp->Click(sync));
    ASSERT_TRUE(FApp->Click(stop));
  }
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto lines = PaneLines(FApp->LogText());
        return CountLines(lines, kEnded) == 16 || !FApp->Running();
      },
      std::chrono::seconds(60)))
      << CountLines(PaneLines(FApp->LogText()), kEnded) << " runs ended";
  ASSERT_TRUE(FApp->Running()) << "the program ended";
  const auto lines = PaneLines(FApp->LogText());
  EXPECT_EQ(CountLines(lines, kStarting), 16);
  EXPECT_EQ(CountLines(lines, kEnded), 16);
  EXPECT_EQ(lines.back(), kEnded);
  EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
  EXPECT_EQ(FApp->Close(), 0u);
}

// The temporary folder as the program finds it: missing, or a file where the folder should be
// (which no one can write a log into, as with a folder without write access).
class FaultTemp : public TMirrorTest {
protected:
  void SetUp() override {
    FSavedTmp = Variable(L"TMP");
    FSavedTemp = Variable(L"TEMP");
    TMirrorTest::SetUp();
  }
  void TearDown() override {
    RestoreTemp();
    TMirrorTest::TearDown();
  }
  static std::wstring Variable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    return GetEnvironmentVariableW(name, value, MAX_PATH) ? value : L"";
  }
  // The program started next inherits this temporary folder.
  void UseTemp(const std::wstring& folder) {
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
  }
  void RestoreTemp() {
    SetEnvironmentVariableW(L"TMP", FSavedTmp.empty() ? nullptr : FSavedTmp.c_str());
    SetEnvironmentVariableW(L"TEMP", FSavedTemp.empty() ? nullptr : FSavedTemp.c_str());
  }
  std::wstring FSavedTmp, FSavedTemp;
};

// The run checks its temporary folder: without it the tool could write no log and the run would
// follow nothing, silently.
TEST_F(FaultTemp, AMissingOrUnusableTemporaryFolderIsReported) {
  WriteFile(FSource + L"\\a.txt", "a");
  const std::wstring missing = FRoot + L"\\sem-temp";
  const std::wstring file = FRoot + L"\\arquivo";
  WriteFile(file, "");
  for (const std::wstring& temp : {missing, file}) {
    SCOPED_TRACE(Utf8(temp));
    // The program's own view of it: the harness starts it with this environment.
    UseTemp(temp);
    StartProgram();
    RestoreTemp();
    ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
    const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
    ASSERT_NE(box, nullptr) << Utf8(FApp->LogText());
    const std::wstring text = MessageText(box);
    std::printf("[fault] temporary folder %s: %s\n", Utf8(temp).c_str(), Utf8(text).c_str());
    EXPECT_NE(text.find(temp), std::wstring::npos) << Utf8(text);
    PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActionTimeout));
    EXPECT_EQ(CountProcesses(L"robocopy.exe"), 0) << "no tool is started without a log";
    EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
    EXPECT_EQ(FApp->Close(), 0u);
  }
  EXPECT_EQ(ReadFileBytes(file), "") << "the file in the folder's place is kept";
}

} // namespace
