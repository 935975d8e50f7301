#pragma once
// A source and a destination folder for the program to mirror, stored as the operator's
// choice before the program starts, and the processes of the mirroring tool around it.
#include "tests/e2e/Operator.h"
#include <memory>
#include <string>
#include <gtest/gtest.h>

namespace e2e {

// Caption of the system's folder dialog under Wine.
inline constexpr wchar_t kFolderDialogCaption[] = L"Select Folder";
// The run's refusals.
inline const std::wstring kSelectFolders = L"Selecione a pasta de origem e destino.";
inline const std::wstring kNoSuchFolder = L"Pasta inexistente!";

// Processes whose image is name (ASCII case ignored).
int CountProcesses(const std::wstring& name);
// Their identifiers.
std::vector<DWORD> ProcessIds(const std::wstring& name);
// The mirroring tool's image name.
inline const std::wstring kToolImage = L"robocopy.exe";
// Waits until exactly one tool runs and it is not the one given (0: any); returns its
// identifier, or 0 when that did not come within kActionTimeout.
DWORD WaitForOneToolOtherThan(DWORD earlier);
// The row a folder list highlights: the folder it shows.
std::wstring ShownRow(HWND list);
// A double-click with the mouse on a row of a list, as the list's own window receives it.
void DoubleClickRow(HWND list, int row);
// Writes a file with text as its content (creating the file's folder's parents is up to the
// caller).
void WriteFile(const std::wstring& path, const std::string& content);
// Appends bytes to a file, creating it, sharing it as the tool shares its log (a log the tool
// holds, or one it has yet to open).
void AppendFile(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
// Lines of a multi-line edit's text (CR LF separated, the final break not counted).
std::vector<std::wstring> PaneLines(const std::wstring& text);
int CountLines(const std::vector<std::wstring>& lines, const std::wstring& line);
// Milliseconds since a process was created (-1 when it cannot be told).
long long MillisecondsSinceCreation(HANDLE process);
// Presses Tab until the focus is on target; at most once round the window.
::testing::AssertionResult FocusOn(const TOperator& app, HWND target);

class TMirrorTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the program on the stored folders.
  void StartProgram();
  // Starts the program on the stored folders and returns how many milliseconds after its
  // process was created its main window was first seen visible, looked for every 5 ms without
  // a message to the program (which may be busy); -1 when not within timeout. Then FApp has
  // the window, or the test has failed.
  long long StartProgramTimed(std::chrono::milliseconds timeout = kStartTimeout);
  // Starts the program on stored values that may make its show fail; returns the error
  // report's text (empty when none came) after closing it, once the window is open.
  std::wstring StartThroughReport();
  // Opens the folder dialog with a button, types a name into it (unless empty) and presses a
  // button of the dialog ("&Open", "Cancel").
  void ChooseInDialog(const std::wstring& button, const std::wstring& typed,
                      const std::wstring& dialogButton);
  std::wstring LogPath() const;
  // Presses "Sincronizar Agora" and expects the refusal box with that text, then closes it;
  // nothing started.
  void ExpectRunRefused(const std::wstring& refusal = kSelectFolders);
  // Presses "Sincronizar Agora" and waits for the run's "Comando: " line; returns it.
  std::wstring StartRun();
  // Starts the program on a source holding a.txt, a run, then a nested run; returns the nested
  // run's tool (0 when it did not take the outer run's tool's place).
  DWORD StartNestedRuns();
  // Opens a folder button's dialog and cancels it; returns once the click handler has ended.
  void CancelDialog(const std::wstring& button);

  std::wstring FRoot, FSource, FDestination;
  std::unique_ptr<TOperator> FApp;
};

} // namespace e2e
