#include "ui/SyncRun.h"
#include "funcoes/SystemText.h"
#include "widgets/Application.h"

namespace {
constexpr DWORD kCountSlice = 20; // ms of counting before the window's messages are dispatched

// Waits until deadline while dispatching messages as they arrive, so the window answers at once
// instead of after the pause.
void DispatchUntil(ULONGLONG deadline, const bool& stop) {
  for (ULONGLONG now = GetTickCount64(); !stop && now < deadline; now = GetTickCount64()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    Application.ProcessMessages();
  }
}
} // namespace

TSyncRun::TSyncRun(const std::wstring& source, std::wstring logPath, unsigned tool)
    : FLogPath(std::move(logPath)), FTool(tool), FCount(source), FLog(FLogPath) {}

TPassFacts TSyncRun::Observe(TMirrorTool& tool, std::optional<std::wstring> paneLastLine) {
  TPassFacts facts;
  facts.Log = FLog.Pass();
  if (facts.Log && NeedsOemTranslation(facts.Log->Encoding))
    facts.Log->LastLine = OemToDisplay(facts.Log->LastLine);
  // Until the count has ended the gauge stays where it is: nothing can be said of the share done.
  if (FCount.Done()) facts.Total = FCount.Total();
  facts.PaneLastLine = std::move(paneLastLine);
  if (const std::optional<DWORD> code = tool.TakeExitCode(FTool)) facts.ToolExitCode = *code;
  return facts;
}

void TSyncRun::Pause(DWORD milliseconds, const bool& stop) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (!stop && !FCount.Done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    FCount.Step(now + kCountSlice);
    Application.ProcessMessages();
  }
  DispatchUntil(deadline, stop);
}

std::optional<std::wstring> TSyncRun::TruncateIfTooLarge() {
  if (!LogTooLarge(FLog.CurrentSize())) return std::nullopt;
  if (DeleteFileW(FLogPath.c_str())) {
    FLog.Deleted();
    return TruncationMessage(Pane, true, L"");
  }
  // The tool holds its log without delete sharing: the log grows on, and the reader reads only
  // what is appended, so the run goes on.
  return TruncationMessage(Pane, false, SysErrorMessage(GetLastError()));
}
