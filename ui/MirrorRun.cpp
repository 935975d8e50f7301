// The mirror run: "Sincronizar Agora" starts the mirroring tool and follows its log on the
// window's thread until "Interromper" or a close request sets FStopSync.
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "ui/FileCount.h"
#include "ui/LogReader.h"
#include "ui/SyncTool.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/LogText.h"
#include "ui/pure/SyncCommand.h"
#include "widgets/Application.h"
#include <optional>

namespace {
constexpr DWORD kPassPause = 300; // ms between passes

// Waits out the pause between passes while dispatching messages as they arrive, so the window
// answers at once instead of after the pause.
void PauseDispatching(DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    Application.ProcessMessages();
  }
}

} // namespace

int32_t TFrmReplimar::CountFiles(const std::wstring& path) {
  return CountFilesIn(path);
}

void TFrmReplimar::ShowLastLogLine(const std::wstring& line) {
  const int lines = MemoLog.LineCount();
  // An idle log gives the same line pass after pass: rewriting it would only repaint.
  if (lines > 0 && MemoLog.Line(lines - 1) == line) return;
  if (lines > 0)
    MemoLog.ReplaceLine(lines - 1, line);
  else
    MemoLog.AddLine(line);
}

void TFrmReplimar::RunSync() {
  FStopSync = false;
  // A list that was never pointed at a folder (the window's show could not open it) holds no
  // folder for a run: it only shows the start-up folder, which the operator did not choose.
  const std::wstring source = PrepareSyncFolder(DirectoryListOrigem.ChosenDirectory());
  const std::wstring destination = PrepareSyncFolder(DirectoryListBoxdestino.ChosenDirectory());
  if (source.empty() || destination.empty()) {
    ShowCenteredMessage(L"Selecione a pasta de origem e destino.");
    return;
  }
  // With /MIR, overlapping folders would make the tool delete the source or copy into itself.
  if (FoldersOverlap(source, destination)) {
    ShowCenteredMessage(kFoldersOverlapMessage);
    return;
  }
  const std::wstring logPath = BuildSyncLogPath(TempFolder());
  // /MIR deletes in the destination: a folder the tool would have to resolve against its own
  // current folder is never handed over.
  if (!IsQuotableFolder(source) || !IsQuotableFolder(destination) || !IsQuotableFolder(logPath) ||
      !IsAbsoluteFolder(source) || !IsAbsoluteFolder(destination))
    throw EInOutError(L"Invalid folder name for the mirroring tool");
  if (FileExists(logPath)) DeleteFileW(logPath.c_str());

  AddLog(L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...");
  AddLog(L"Comando: " + BuildSyncCommand(source, destination, logPath));
  if (const DWORD error = StartSyncTool(source, destination, logPath))
    AddLog(L"N\u00e3o foi poss\u00edvel iniciar o robocopy: " + SysErrorMessage(error));

  const int32_t total = CountFiles(source);
  GaugeProgresso.SetProgress(0);
  GaugeProgresso.SetMaxValue(total);

  TLogReader follower(logPath);
  while (!FStopSync) {
    if (const std::optional<TLogSummary> pass = follower.Pass()) {
      const TLogSummary& log = *pass;
      GaugeProgresso.SetMaxValue(total);
      GaugeProgresso.SetProgress(SyncProgress(log.Marked, total));
      if (log.HasLines)
        ShowLastLogLine(NeedsOemTranslation(log.Encoding) ? OemToDisplay(log.LastLine)
                                                          : log.LastLine);
      MemoLog.ScrollCaret();
    }
    Application.ProcessMessages();
    PauseDispatching(kPassPause);
    if (LogTooLarge(FileSizeOf(logPath))) {
      DeleteFileW(logPath.c_str());
      AddLog(L"Log truncado (reiniciado por tamanho excessivo).");
    }
  }
  AddLog(L"Sincroniza\u00e7\u00e3o encerrada.");
}
