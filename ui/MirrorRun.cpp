// The mirror run: "Sincronizar Agora" starts the mirroring tool and follows its log on the
// window's thread until "Interromper" or a close request sets FStopSync.
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "ui/LogReader.h"
#include "ui/SyncTool.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/LogText.h"
#include "ui/pure/SyncCommand.h"
#include "widgets/Application.h"
#include "widgets/pure/FolderRows.h"
#include <optional>
#include <vector>

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

struct TFolderId {
  DWORD Volume;
  DWORD IndexHigh, IndexLow;
  bool operator==(const TFolderId&) const = default;
};

std::optional<TFolderId> FolderIdOf(const std::wstring& path) {
  UniqueFileHandle folder(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder || !GetFileInformationByHandle(folder.Get(), &info)) return std::nullopt;
  return TFolderId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// The folders on the path being counted. Their identities are only looked up when a link to
// a folder is met, since only a link can lead back to a folder above it.
struct TCountPath {
  struct TEntry {
    std::wstring Path;
    std::optional<TFolderId> Id;
    bool Known = false;
  };
  std::vector<TEntry> Entries;

  bool Contains(const TFolderId& id) {
    for (TEntry& entry : Entries) {
      if (!entry.Known) {
        entry.Id = FolderIdOf(entry.Path);
        entry.Known = true;
      }
      if (entry.Id == id) return true;
    }
    return false;
  }
};

int32_t CountFilesBelow(const std::wstring& path, TCountPath& trail) {
  int32_t sum = 0;
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW((path + L"\\*.*").c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return 0;
  trail.Entries.push_back({path, std::nullopt, false});
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ++sum;
      continue;
    }
    const std::wstring child = path + L"\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      const std::optional<TFolderId> id = FolderIdOf(child);
      if (id && trail.Contains(*id)) continue; // a loop back up: already being counted
    }
    sum += CountFilesBelow(child, trail);
  } while (FindNextFileW(find.Get(), &entry));
  trail.Entries.pop_back();
  return sum;
}
} // namespace

int32_t TFrmReplimar::CountFiles(const std::wstring& path) {
  TCountPath trail;
  return CountFilesBelow(path, trail);
}

void TFrmReplimar::ShowLastLogLine(const std::wstring& line) {
  const int lines = MemoLog.LineCount();
  if (lines > 0)
    MemoLog.ReplaceLine(lines - 1, line);
  else
    MemoLog.AddLine(line);
}

void TFrmReplimar::RunSync() {
  FStopSync = false;
  const std::wstring source = PrepareSyncFolder(DirectoryListOrigem.Directory());
  const std::wstring destination = PrepareSyncFolder(DirectoryListBoxdestino.Directory());
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
  if (!IsQuotableFolder(source) || !IsQuotableFolder(destination) || !IsQuotableFolder(logPath))
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
