// One mirror at a time: a run ends the tool this window started before (never another
// program's), and a second start of the program brings the running window forward, ending
// nothing.
#include "funcoes/RegistryValue.h"
#include "tests/e2e/FaultSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace e2e;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Visible main windows of the program, of any process.
int MainWindows() {
  int count = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, kMainClass, kMainCaption); w;
       w = FindWindowExW(nullptr, w, kMainClass, kMainCaption))
    if (IsWindowVisible(w)) ++count;
  return count;
}

using OneMirror = TMirrorTest;

// The operator ran with the folders swapped, stopped, chose them the right way round and ran
// again: the swapped mirror ends, so that it does not delete what the new one copies.
TEST_F(OneMirror, ARunEndsTheMirrorAnEarlierRunStarted) {
  RegistryValue(L"escrever", L"storage_Origem", FDestination);
  RegistryValue(L"escrever", L"storage_Destino", FSource);
  StartProgram();
  StartRun();
  const DWORD swapped = WaitForOneToolOtherThan(0);
  ASSERT_NE(swapped, 0u) << CountProcesses(kToolImage) << " tools";
  ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
  ASSERT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
  EXPECT_EQ(ProcessIds(kToolImage), std::vector<DWORD>{swapped}) << "the tool outlives the stop";

  ChooseInDialog(L"Folder Origem", FSource, L"&Open");
  ChooseInDialog(L"Folder destino", FDestination, L"&Open");
  const std::wstring command = StartRun();
  EXPECT_NE(command.find(L"\"" + FSource + L"\" \"" + FDestination + L"\""), std::wstring::npos)
      << Utf8(command);
  EXPECT_NE(WaitForOneToolOtherThan(swapped), 0u)
      << "tools running: " << CountProcesses(kToolImage) << ", the swapped one among them";
  WriteFile(FSource + L"\\novo.mp4", "new");
  EXPECT_TRUE(WaitFor([&] { return Exists(FDestination + L"\\novo.mp4"); }, kStartTimeout));
  EXPECT_TRUE(Exists(FSource + L"\\novo.mp4"));
  EXPECT_EQ(CountProcesses(kToolImage), 1);
}

// A press of "Sincronizar Agora" during a run nests a run; its tool takes the place of the
// outer run's, and one stop ends both runs but no tool.
TEST_F(OneMirror, ANestedRunLeavesOneToolRunning) {
  StartProgram();
  StartRun();
  const DWORD outer = WaitForOneToolOtherThan(0);
  ASSERT_NE(outer, 0u) << CountProcesses(kToolImage) << " tools";
  StartRun();
  const DWORD nested = WaitForOneToolOtherThan(outer);
  EXPECT_NE(nested, 0u) << "tools running: " << CountProcesses(kToolImage);
  ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
  EXPECT_TRUE(
      WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kEnded) == 2; }, kActionTimeout))
      << Utf8(FApp->LogText());
  EXPECT_EQ(ProcessIds(kToolImage), std::vector<DWORD>{nested});
  EXPECT_EQ(FApp->LogText().find(L"O robocopy terminou"), std::wstring::npos)
      << Utf8(FApp->LogText());
}

// A second double-click on the shortcut while a mirror runs: the running window comes back from
// the taskbar, the new copy exits with 0, and the mirror goes on.
TEST_F(OneMirror, ASecondStartBringsTheRunningWindowForwardAndEndsNothing) {
  StartProgram();
  StartRun();
  const DWORD tool = WaitForOneToolOtherThan(0);
  ASSERT_NE(tool, 0u);
  const HWND main = FApp->MainWindow();
  ASSERT_TRUE(PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0));
  ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }, kActionTimeout));

  TOperator second(REPLIMAR_EXE_PATH, TStartWait::ForProcessOnly);
  EXPECT_EQ(second.WaitForExit(kExitTimeout), 0u);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }, kActionTimeout)) << "not restored";
  EXPECT_EQ(MainWindows(), 1);
  EXPECT_EQ(ProcessIds(kToolImage), std::vector<DWORD>{tool});
  EXPECT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))) << "the window answers";
  WriteFile(FSource + L"\\depois.mp4", "after");
  EXPECT_TRUE(WaitFor([&] { return Exists(FDestination + L"\\depois.mp4"); }, kStartTimeout))
      << "the mirror goes on";
  EXPECT_EQ(FApp->LogText().find(L"O robocopy terminou"), std::wstring::npos);
  EXPECT_EQ(FApp->Close(), 0u);
}

} // namespace
