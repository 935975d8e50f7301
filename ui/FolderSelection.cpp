// Choosing the source and destination folders: the window's first showing and the two
// folder buttons.
#include "funcoes/Folders.h"
#include "funcoes/ProcessTerminator.h"
#include "funcoes/RegistryValue.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/Background.h"
#include "widgets/FileOpenDialog.h"
#include <exception>
#include <optional>
#include <windows.h>

namespace {
std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// A stored folder; empty when none is stored. A stored empty text counts as none: settings
// emptied by an older version of the tool heal themselves.
std::wstring StoredFolder(const wchar_t* name) {
  return RegistryValue(L"ler", name, L"");
}

// Where the folder dialog opens: the stored folder, or nowhere in particular. A stored value
// that cannot be read as text (the window's show reports it) must not keep the dialog from
// opening, or the operator could never choose the folder that replaces it.
// A stored folder that has gone (a source renamed in Explorer) opens the dialog in its nearest
// parent that is still there.
std::wstring StartFolder(const wchar_t* name) {
  std::wstring stored;
  try {
    stored = RegistryValue(L"ler", name, L"");
  } catch (const Exception&) {
    return std::wstring();
  }
  if (stored.empty()) return stored;
  // Asked on the pool: a folder on a server that does not answer opens the dialog where the
  // system chooses, at once.
  return Background::Ask<std::wstring>([stored] { return NearestExistingFolder(stored); },
                                       kFolderAnswerWaitMs)
      .value_or(std::wstring());
}

// What differs between the two folder buttons.
struct TFolderSide {
  std::wstring& Raiz;
  const wchar_t* StartName;    // value read for the dialog's start folder
  const wchar_t* WriteName;    // value written with the choice
  const wchar_t* ReadBackName; // value read back at the end
  TDirectoryListBox& List;
  TFileListBox& Files;
  // Only the destination's folder is made again when it has gone: a source made again would
  // be an empty folder that /MIR mirrors, emptying the destination.
  bool MakesMissingFolder;
};

void PickFolder(const TFolderSide& side) {
  if (side.Raiz.empty()) side.Raiz = L"\\videos";
  // A destination chosen earlier and removed since is made again before the dialog opens
  // (on the pool; a server that does not answer in time is left alone).
  if (side.MakesMissingFolder)
    Background::Ask<bool>(
        [raiz = side.Raiz] { return FolderExists(raiz) || CreateFolderPath(raiz); },
        kFolderAnswerWaitMs);

  std::wstring chosen;
  std::exception_ptr dialogError;
  {
    TFileOpenDialog dialog;
    try {
      dialog.DefaultFolder = StartFolder(side.StartName);
      if (dialog.Execute()) {
        const std::optional<bool> exists = AskFolderExists(dialog.FileName);
        if (exists && *exists) {
          side.Raiz = dialog.FileName;
        } else {
          ShowCenteredMessage(exists ? L"Pasta inexistente!"
                                     : FolderNotAnsweredText(dialog.FileName));
          dialog.FileName.clear();
        }
      }
    } catch (...) {
      dialogError = std::current_exception();
    }
    chosen = dialog.FileName;
    // A cancel or a rejected name keeps the operator's saved folder.
    if (!chosen.empty()) RegistryValue(L"escrever", side.WriteName, chosen);
    side.List.SetDirectoryThatExists(chosen); // asked above
  }
  side.Raiz = chosen;
  side.Files.SetMask(kMediaMask);
  if (dialogError) std::rethrow_exception(dialogError);
  // After a cancel or a rejected name nothing was stored and the variable stays empty: reading
  // back the older stored folder would make the next click re-create it if the operator has
  // since removed it on purpose.
  if (!chosen.empty()) side.Raiz = RegistryValue(L"ler", side.ReadBackName, L"C:\\");
}
} // namespace

void TFrmReplimar::FormShow(TControl*) {
  TerminateProcessByName(L"robocopy.exe");
  const std::wstring exeFolder = ExecutableFolder(ExecutablePath());
  const std::wstring storedSource = StoredFolder(L"storage_Origem");
  const std::wstring storedDestination = StoredFolder(L"storage_Destino");
  // Only a stored folder is a choice. The lists show the fallbacks (the executable's folder,
  // its drive's root, C:\TMP), but a run refuses them until the operator chooses: mirroring
  // the program's folder into C:\TMP, or a whole drive into a backup, would destroy data.
  FileListBoxOrigem.SetMask(kMediaMask);
  FileListBoxDestino.SetMask(kMediaMask);
  std::wstring unreachable; // the reports of stored folders that cannot be reached
  // The questions to the stored folders' servers hold the window's appearance this long in all.
  const Background::TWaitBudget budget(kShowAnswerWaitMs);
  if (storedSource.empty())
    DirectoryListOrigem.ShowDirectory(exeFolder + L"\\");
  else
    unreachable =
        ShowStoredFolder(DirectoryListOrigem, storedSource, false, DriveRootOf(exeFolder));
  if (storedDestination.empty()) {
    CreateFolderPath(L"C:\\TMP");
    DirectoryListBoxdestino.ShowDirectory(L"C:\\TMP");
  } else {
    const std::wstring report =
        ShowStoredFolder(DirectoryListBoxdestino, storedDestination, true, L"");
    unreachable += (unreachable.empty() || report.empty() ? L"" : L"\r\n") + report;
  }
  LabelStatus.SetCaption(kStatusWaiting);
  GaugeProgresso.SetProgress(0);
  MemoLog.Clear();
  if (!unreachable.empty()) throw EInOutError(unreachable);
}

std::wstring TFrmReplimar::ShowStoredFolder(TDirectoryListBox& list, const std::wstring& folder,
                                            bool make, const std::wstring& fallback) {
  // On the pool, as a file server may not answer: nothing when the folder is there (made first
  // when asked), else the report that names it.
  const auto probe = [folder, make]() -> std::optional<std::wstring> {
    if (make) CreateFolderPath(folder);
    if (FolderExists(folder)) return std::nullopt;
    return FolderMissingText(folder);
  };
  // Shows the folder, or the fallback (the list's own folder when empty), and answers the report.
  const auto show = [&list, folder, fallback](const std::optional<std::wstring>& missing) {
    if (!missing) {
      list.SetDirectoryThatExists(folder);
      return std::wstring();
    }
    list.ShowDirectory(fallback.empty() ? list.Directory() : fallback);
    return *missing;
  };
  // The window opens meanwhile; the list fills when the server answers, unless the operator
  // has moved it by then.
  const auto answer = Background::AskOrDeliver<std::optional<std::wstring>>(
      probe, kShowAnswerWaitMs, [&list, folder, show](std::optional<std::wstring>& missing) {
        if (list.WaitingFor() != folder) return;
        const std::wstring report = show(missing);
        if (!report.empty()) throw EInOutError(report);
      });
  if (answer) return show(*answer);
  list.ShowWaiting(folder);
  return std::wstring();
}

void TFrmReplimar::BtRaizOrigemClick(TControl*) {
  PickFolder({RaizOrigem, L"storage_Origem", L"storage_Origem", L"storage_Origem",
              DirectoryListOrigem, FileListBoxOrigem, false});
}

void TFrmReplimar::BtRaizDestinoClick(TControl*) {
  PickFolder({RaizDestino, L"Storage_destino", L"Storage_destino", L"storage_Destino",
              DirectoryListBoxdestino, FileListBoxDestino, true});
}

// Whether a folder exists, asked on the pool; nothing when its server has not answered in time.
std::optional<bool> AskFolderExists(const std::wstring& folder) {
  return Background::Ask<bool>([folder] { return FolderExists(folder); }, kFolderAnswerWaitMs);
}
