#include "ui/SyncRun.h"
#include "funcoes/SystemText.h"
#include "ui/FileCount.h"
#include "widgets/Application.h"
#include "widgets/Background.h"

namespace {
// Waits until deadline while dispatching messages as they arrive, so the window answers at once
// instead of after the pause.
void DispatchUntil(ULONGLONG deadline, const bool& stop) {
  for (ULONGLONG now = GetTickCount64(); !stop && now < deadline; now = GetTickCount64()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    Application.ProcessMessages();
  }
}

constexpr ULONGLONG kCountSlice = 100; // ms between two looks at the cancel flag
} // namespace

TSyncRun::TSyncRun(const std::wstring& source, std::wstring logPath, unsigned tool)
    : FLogPath(std::move(logPath)), FTool(tool), FCount(std::make_shared<TCount>()),
      FLog(FLogPath) {
  const std::shared_ptr<TCount> count = FCount;
  Background::Run<std::optional<int32_t>>(
      [count, source]() -> std::optional<int32_t> {
        TFileCount files(source);
        while (!files.Step(GetTickCount64() + kCountSlice))
          if (count->Cancelled) return std::nullopt;
        return files.Total();
      },
      [count](std::optional<int32_t>& total) {
        if (!count->Cancelled) count->Total = total;
      });
}

TSyncRun::~TSyncRun() {
  FCount->Cancelled = true;
}

TPassFacts TSyncRun::Observe(TMirrorTool& tool, std::optional<std::wstring> paneLastLine) {
  TPassFacts facts;
  facts.Log = FLog.Pass();
  if (facts.Log && NeedsOemTranslation(facts.Log->Encoding))
    facts.Log->LastLine = OemToDisplay(facts.Log->LastLine);
  // Until the count has ended the gauge stays where it is: nothing can be said of the share done.
  facts.Total = FCount->Total;
  facts.PaneLastLine = std::move(paneLastLine);
  if (const std::optional<DWORD> code = tool.TakeExitCode(FTool)) facts.ToolExitCode = *code;
  return facts;
}

void TSyncRun::Pause(DWORD milliseconds, const bool& stop) {
  DispatchUntil(GetTickCount64() + milliseconds, stop);
}

std::optional<std::wstring> TSyncRun::TruncateIfTooLarge() {
  if (!LogTooLarge(FLog.CheckSize())) return std::nullopt;
  if (DeleteFileW(FLogPath.c_str())) {
    FLog.NoteDeletion();
    return TruncationMessage(Pane, true, L"");
  }
  // The tool holds its log without delete sharing: the log grows on, and the reader reads only
  // what is appended, so the run goes on.
  return TruncationMessage(Pane, false, SysErrorMessage(GetLastError()));
}
