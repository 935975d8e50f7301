#include "ui/MirrorTool.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "ui/SyncTool.h"

void TMirrorTool::EndPrevious() {
  if (!FProcess) return;
  if (WaitForSingleObject(FProcess.Get(), 0) != WAIT_OBJECT_0) {
    // Denied or failed, the wait below tells whether the tool is gone.
    const DWORD error = TerminateProcess(FProcess.Get(), 0) ? 0 : GetLastError();
    if (WaitForSingleObject(FProcess.Get(), kEndTimeout) != WAIT_OBJECT_0) {
      std::wstring text = L"O robocopy iniciado antes n\u00e3o terminou; nada foi iniciado.";
      if (error) text += L" " + SysErrorMessage(error);
      throw Exception(text);
    }
  }
  FProcess.Reset();
}

DWORD TMirrorTool::Start(const std::wstring& arguments) {
  EndPrevious();
  ++FGeneration;
  return StartSyncTool(arguments, FProcess);
}

std::optional<DWORD> TMirrorTool::TakeExitCode(unsigned generation) {
  if (generation != FGeneration || !FProcess ||
      WaitForSingleObject(FProcess.Get(), 0) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(FProcess.Get(), &code);
  FProcess.Reset();
  return code;
}
