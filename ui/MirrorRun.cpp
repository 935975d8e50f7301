// The mirror run: "Sincronizar Agora" starts the mirroring tool and follows its log on the
// window's thread until "Interromper" or a close request sets FStopSync.
#include "funcoes/Files.h"
#include "funcoes/Folders.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "ui/SyncRun.h"
#include "ui/SyncTool.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/SyncCommand.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/Application.h"
#include <optional>

namespace {
constexpr DWORD kPassPause = 300; // ms between passes

struct TRunFolders {
  std::wstring Source, Destination, LogPath;
};

// The two folders the lists hold as chosen, ready for the command, and the log's path; nothing
// after telling the operator why there is no run.
std::optional<TRunFolders> FoldersToMirror(const TDirectoryListBox& sourceList,
                                           const TDirectoryListBox& destinationList) {
  // A list still waiting for its folder's server holds no folder yet.
  for (const TDirectoryListBox* list : {&sourceList, &destinationList})
    if (!list->WaitingFor().empty()) {
      ShowCenteredMessage(FolderNotAnsweredText(list->WaitingFor()));
      return std::nullopt;
    }
  // A list shows folders nobody chose (the start-up folder, a fallback of the window's show):
  // those are no folders for a run.
  const std::wstring chosenSource = sourceList.ChosenDirectory();
  const std::wstring source = PrepareSyncFolder(chosenSource);
  const std::wstring destination = PrepareSyncFolder(destinationList.ChosenDirectory());
  if (source.empty() || destination.empty()) {
    ShowCenteredMessage(L"Selecione a pasta de origem e destino.");
    return std::nullopt;
  }
  // A source renamed or removed since it was chosen would be mirrored as an empty folder: /MIR
  // would empty the destination. (The tool makes a missing destination itself.)
  // The test goes to the pool: a server that stopped answering would hold the window.
  const std::optional<bool> exists = AskFolderExists(chosenSource);
  if (!exists) {
    ShowCenteredMessage(FolderNotAnsweredText(chosenSource));
    return std::nullopt;
  }
  if (!*exists) {
    ShowCenteredMessage(L"Pasta inexistente!");
    return std::nullopt;
  }
  // With /MIR, overlapping folders would make the tool delete the source or copy into itself.
  if (FoldersOverlap(source, destination)) {
    ShowCenteredMessage(kFoldersOverlapMessage);
    return std::nullopt;
  }
  TRunFolders folders{source, destination, BuildSyncLogPath(TempFolder())};
  // /MIR deletes in the destination: a folder the tool would have to resolve against its own
  // current folder is never handed over.
  if (!IsQuotableFolder(source) || !IsQuotableFolder(destination) ||
      !IsQuotableFolder(folders.LogPath) || !IsAbsoluteFolder(source) ||
      !IsAbsoluteFolder(destination))
    throw EInOutError(L"Invalid folder name for the mirroring tool");
  return folders;
}
} // namespace

std::optional<std::wstring> TFrmReplimar::PaneLastLine() const {
  const int lines = MemoLog.LineCount();
  if (lines == 0) return std::nullopt;
  return MemoLog.Line(lines - 1);
}

void TFrmReplimar::ShowPass(const TPassView& view) {
  if (view.Gauge) {
    GaugeProgresso.SetMaxValue(view.Gauge->MaxValue);
    GaugeProgresso.SetProgress(view.Gauge->Progress);
  }
  if (view.Line == TLineShow::Add)
    MemoLog.AddLine(view.LastLine);
  else if (view.Line == TLineShow::Replace)
    MemoLog.ReplaceLine(MemoLog.LineCount() - 1, view.LastLine);
  if (view.ScrollCaret) MemoLog.ScrollCaret();
  if (view.Message) AddLog(*view.Message); // a yield point
}

void TFrmReplimar::RunSync() {
  FStopSync = false;
  const std::optional<TRunFolders> folders =
      FoldersToMirror(DirectoryListOrigem, DirectoryListBoxdestino);
  if (!folders) return;
  // One mirror at a time: the tool an earlier run started ends first, which also frees its log.
  FTool.EndPrevious();
  if (FileExists(folders->LogPath)) DeleteFileW(folders->LogPath.c_str());
  const std::wstring arguments =
      BuildSyncArguments(folders->Source, folders->Destination, folders->LogPath);

  // Yield points: a nested run, a stop or a close may run inside these two lines.
  AddLog(L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...");
  AddLog(L"Comando: " + std::wstring(kSyncProgram) + L" " + arguments);
  // A nested run may have started a tool meanwhile: Start ends it. The tool outlives the run;
  // the window keeps it until the next run replaces it.
  if (const DWORD error = FTool.Start(arguments))
    AddLog(L"N\u00e3o foi poss\u00edvel iniciar o robocopy: " + SysErrorMessage(error));

  // The files are counted in slices during the pauses, so the log is followed from the first
  // pass; until the count ends the gauge stays at 0.
  GaugeProgresso.SetProgress(0);
  TSyncRun run(folders->Source, folders->LogPath, FTool.Generation());
  while (!FStopSync) {
    ShowPass(DecidePass(run.Pane, run.Observe(FTool, PaneLastLine())));
    Application.ProcessMessages();    // a yield point
    run.Pause(kPassPause, FStopSync); // a yield point
    if (FStopSync) break;
    if (const std::optional<std::wstring> message = run.TruncateIfTooLarge())
      AddLog(*message); // a yield point
  }
  AddLog(L"Sincroniza\u00e7\u00e3o encerrada.");
}
