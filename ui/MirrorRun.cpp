// The mirror run: "Sincronizar Agora" starts the mirroring tool and follows its log on the
// window's thread until "Interromper" or a close request sets FStopSync.
#include "funcoes/Files.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/Folders.h"
#include "ui/FileCount.h"
#include "ui/LogReader.h"
#include "ui/SyncTool.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/LogText.h"
#include "ui/pure/SyncCommand.h"
#include "widgets/Application.h"
#include <algorithm>
#include <optional>

namespace {
constexpr DWORD kPassPause = 300; // ms between passes
constexpr DWORD kCountSlice = 20; // ms of counting before the window's messages are dispatched

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

// The pause between passes while the count of files is unfinished: counts in slices, each
// followed by the dispatch of pending messages, until the pause is over or a stop is asked.
void PauseCounting(TFileCount& count, DWORD milliseconds, const bool& stop) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (!stop && !count.Done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    count.Step(now + kCountSlice);
    Application.ProcessMessages();
  }
  if (!stop)
    PauseDispatching(static_cast<DWORD>(
        std::max<LONGLONG>(0, static_cast<LONGLONG>(deadline - GetTickCount64()))));
}

} // namespace

void TFrmReplimar::ShowLastLogLine(const std::wstring& line, bool keepLastLine) {
  const int lines = MemoLog.LineCount();
  if (keepLastLine) {
    MemoLog.AddLine(line);
    return;
  }
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
  const std::wstring chosenSource = DirectoryListOrigem.ChosenDirectory();
  const std::wstring source = PrepareSyncFolder(chosenSource);
  const std::wstring destination = PrepareSyncFolder(DirectoryListBoxdestino.ChosenDirectory());
  if (source.empty() || destination.empty()) {
    ShowCenteredMessage(L"Selecione a pasta de origem e destino.");
    return;
  }
  // A source renamed or removed since it was chosen would be mirrored as an empty folder: /MIR
  // would empty the destination. (The tool makes a missing destination itself.)
  if (!FolderExists(chosenSource)) {
    ShowCenteredMessage(L"Pasta inexistente!");
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
  // One mirror at a time: the tool an earlier run started ends first, which also frees its log.
  FTool.EndPrevious();
  if (FileExists(logPath)) DeleteFileW(logPath.c_str());

  AddLog(L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...");
  AddLog(L"Comando: " + BuildSyncCommand(source, destination, logPath));
  // A nested run started during the two lines above may have started a tool: Start ends it.
  // The tool outlives the run; the window keeps it until the next run replaces it.
  if (const DWORD error = FTool.Start(source, destination, logPath))
    AddLog(L"N\u00e3o foi poss\u00edvel iniciar o robocopy: " + SysErrorMessage(error));
  const unsigned tool = FTool.Generation();

  // The count runs in slices between the passes, so the log is followed from the first pass;
  // until it ends the gauge stays at 0, as nothing can be said of the share done.
  TFileCount count(source);
  int32_t total = 0;
  GaugeProgresso.SetProgress(0);

  TLogReader follower(logPath);
  bool keepPaneLine = false;       // the pane's last line is a message of this run's passes
  bool truncationReported = false; // a failed truncation is told once per run
  const auto addMessage = [&](const std::wstring& text) {
    AddLog(text);
    keepPaneLine = true;
  };
  while (!FStopSync) {
    if (const std::optional<TLogSummary> pass = follower.Pass()) {
      const TLogSummary& log = *pass;
      if (count.Done()) {
        total = count.Total();
        GaugeProgresso.SetMaxValue(total);
        GaugeProgresso.SetProgress(SyncProgress(log.Marked, total));
      }
      if (log.HasLines) {
        ShowLastLogLine(NeedsOemTranslation(log.Encoding) ? OemToDisplay(log.LastLine)
                                                          : log.LastLine,
                        keepPaneLine);
        keepPaneLine = false;
      }
      MemoLog.ScrollCaret();
    }
    // A tool that ended copies nothing more: say so once, with its exit code.
    if (const std::optional<DWORD> code = FTool.TakeExitCode(tool))
      addMessage(L"O robocopy terminou (c\u00f3digo " + std::to_wstring(*code) + L").");
    Application.ProcessMessages();
    if (count.Done())
      PauseDispatching(kPassPause);
    else
      PauseCounting(count, kPassPause, FStopSync);
    if (FStopSync) break;
    if (LogTooLarge(follower.CurrentSize())) {
      if (DeleteFileW(logPath.c_str())) {
        follower.Deleted();
        addMessage(L"Log truncado (reiniciado por tamanho excessivo).");
      } else {
        // The tool holds its log without delete sharing: the log grows on, and the follow
        // reads only what is appended, so the run goes on.
        const DWORD error = GetLastError();
        if (!truncationReported)
          addMessage(L"N\u00e3o foi poss\u00edvel truncar o log: " + SysErrorMessage(error));
        truncationReported = true;
      }
    }
  }
  AddLog(L"Sincroniza\u00e7\u00e3o encerrada.");
}
