#pragma once
// Shared by the fault tests: a mirror test whose tool is set aside, so that the test itself
// writes the log the run follows, and small helpers for what the operator sees.
#include "tests/e2e/MirrorFixture.h"
#include <string>

namespace e2e {

inline const std::wstring kSyncNow = L"Sincronizar Agora";
inline const std::wstring kStop = L"Interromper";
inline const std::wstring kClearLog = L"Limpar Log";
inline const std::wstring kStarting = L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...";
inline const std::wstring kEnded = L"Sincroniza\u00e7\u00e3o encerrada.";
inline const std::wstring kTruncated = L"Log truncado (reiniciado por tamanho excessivo).";
inline const std::wstring kCannotStart = L"N\u00e3o foi poss\u00edvel iniciar o robocopy: ";

// A log of lines lines with "%", then a last line without.
inline std::string ProgressLog(int lines, const std::string& last) {
  std::string log;
  log.reserve(static_cast<size_t>(lines) * 6 + last.size() + 2);
  for (int i = 0; i < lines; ++i)
    log += "100%\r\n";
  return log + last + "\r\n";
}

inline std::wstring LastPaneLine(const TOperator& app) {
  const auto lines = PaneLines(app.LogText());
  return lines.empty() ? std::wstring() : lines.back();
}

// A drive letter that names no drive (Q: is the test rig's mapped drive).
inline std::wstring MissingDriveLetter() {
  const DWORD drives = GetLogicalDrives();
  for (wchar_t letter = L'R'; letter <= L'Y'; ++letter)
    if (!(drives & (1u << (letter - L'A')))) return std::wstring(1, letter) + L":";
  ADD_FAILURE() << "every drive letter from R to Y is in use";
  return L"R:";
}

inline std::wstring SystemTool() {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\robocopy.exe";
}

// The mirroring tool of the prefix moved aside for the test and put back afterwards.
class TToolAsideTest : public TMirrorTest {
protected:
  void SetUp() override {
    TMirrorTest::SetUp();
    ASSERT_TRUE(MoveFileExW(SystemTool().c_str(), (SystemTool() + L".aside").c_str(),
                            MOVEFILE_REPLACE_EXISTING));
  }
  void TearDown() override {
    TMirrorTest::TearDown();
    MoveFileExW((SystemTool() + L".aside").c_str(), SystemTool().c_str(),
                MOVEFILE_REPLACE_EXISTING);
    DeleteFileW(LogPath().c_str());
  }
  // Starts the program and a run that follows the log the test writes.
  void StartFollowing() {
    StartProgram();
    ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
    ASSERT_TRUE(WaitFor([&] { return FApp->LogText().find(kCannotStart) != std::wstring::npos; },
                        kActionTimeout))
        << Utf8(FApp->LogText());
  }
  // The window answers: a click on "Limpar Log" runs its handler and empties the pane.
  bool WindowUsable() const {
    return FApp->ClickAndWait(FApp->Button(kClearLog)) && FApp->LogText().empty();
  }
};

} // namespace e2e
