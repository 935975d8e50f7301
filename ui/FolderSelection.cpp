// Choosing the source and destination folders: the window's first showing and the two
// folder buttons.
#include "funcoes/Folders.h"
#include "funcoes/ProcessTerminator.h"
#include "funcoes/RegistryValue.h"
#include "funcoes/pure/Exception.h"
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

// Where the folder dialog opens: the stored folder, or nowhere in particular. A stored value
// that cannot be read as text (the window's show reports it) must not keep the dialog from
// opening, or the operator could never choose the folder that replaces it.
std::wstring StartFolder(const wchar_t* name) {
  try {
    return RegistryValue(L"ler", name, L"");
  } catch (const Exception&) {
    return std::wstring();
  }
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
      dialog.DefaultFolder = StartFolder(side.StartName);
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
  // After a cancel or a rejected name nothing was stored and the variable stays empty: reading
  // back the older stored folder would make the next click re-create it if the operator has
  // since removed it on purpose.
  if (!chosen.empty()) side.Raiz = RegistryValue(L"ler", side.ReadBackName, L"C:\\");
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
