// Choosing the source and destination folders: the window's first showing and the two
// folder buttons.
#include "funcoes/Folders.h"
#include "funcoes/ProcessTerminator.h"
#include "funcoes/RegistryValue.h"
#include "funcoes/pure/FolderRules.h"
#include "ui/UFrmReplimar.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/FileOpenDialog.h"
#include <exception>
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

// A stored folder, or the default when none is stored. A stored empty text counts as none:
// settings emptied by an older version of the tool heal themselves.
std::wstring StoredFolder(const std::wstring& name, const std::wstring& fallback) {
  std::wstring folder = RegistryValue(L"ler", name, fallback);
  return folder.empty() ? fallback : folder;
}

// What differs between the two folder buttons.
struct TFolderSide {
  std::wstring& Raiz;
  const wchar_t* StartName;    // value read for the dialog's start folder
  const wchar_t* WriteName;    // value written with the choice
  const wchar_t* ReadBackName; // value read back at the end
  TDirectoryListBox& List;
  TFileListBox& Files;
};

void PickFolder(const TFolderSide& side) {
  if (side.Raiz.empty()) side.Raiz = L"\\videos";
  // A folder chosen earlier and removed since is made again before the dialog opens.
  if (!FolderExists(side.Raiz)) CreateFolderPath(side.Raiz);

  std::wstring chosen;
  std::exception_ptr dialogError;
  {
    TFileOpenDialog dialog;
    try {
      dialog.DefaultFolder = RegistryValue(L"ler", side.StartName, L"");
      if (dialog.Execute()) {
        if (FolderExists(dialog.FileName)) {
          side.Raiz = dialog.FileName;
        } else {
          ShowCenteredMessage(L"Pasta inexistente!");
          dialog.FileName.clear();
        }
      }
    } catch (...) {
      dialogError = std::current_exception();
    }
    chosen = dialog.FileName;
    // A cancel or a rejected name keeps the operator's saved folder.
    if (!chosen.empty()) RegistryValue(L"escrever", side.WriteName, chosen);
    side.List.SetDirectory(chosen);
  }
  side.Raiz = chosen;
  side.Files.SetMask(kMediaMask);
  if (dialogError) std::rethrow_exception(dialogError);
  side.Raiz = RegistryValue(L"ler", side.ReadBackName, L"C:\\");
}
} // namespace

void TFrmReplimar::FormShow(TControl*) {
  TerminateProcessByName(L"robocopy.exe");
  const std::wstring exeFolder = ExecutableFolder(ExecutablePath());
  std::wstring source = StoredFolder(L"storage_Origem", exeFolder + L"\\");
  const std::wstring destination = StoredFolder(L"storage_Destino", L"C:\\TMP");
  if (!FolderExists(source)) source = DriveRootOf(exeFolder);
  FileListBoxOrigem.SetMask(kMediaMask);
  DirectoryListOrigem.SetDirectory(source);
  CreateFolderPath(destination);
  FileListBoxDestino.SetMask(kMediaMask);
  DirectoryListBoxdestino.SetDirectory(destination);
  LabelStatus.SetCaption(kStatusWaiting);
  GaugeProgresso.SetProgress(0);
  MemoLog.Clear();
}

void TFrmReplimar::BtRaizOrigemClick(TControl*) {
  PickFolder({RaizOrigem, L"storage_Origem", L"storage_Origem", L"storage_Origem",
              DirectoryListOrigem, FileListBoxOrigem});
}

void TFrmReplimar::BtRaizDestinoClick(TControl*) {
  PickFolder({RaizDestino, L"Storage_destino", L"Storage_destino", L"storage_Destino",
              DirectoryListBoxdestino, FileListBoxDestino});
}
