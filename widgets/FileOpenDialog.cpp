#include "widgets/FileOpenDialog.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Application.h"
#include "widgets/ComPtr.h"
#include "widgets/Form.h"
#include "widgets/ShellLibraries.h"

namespace {
void Check(HRESULT hr, const wchar_t* what) {
  if (FAILED(hr))
    throw Exception(std::wstring(what) + L" failed. " + SysErrorMessage(static_cast<DWORD>(hr)));
}

// The item's file-system path, or its display name when it has none.
std::wstring ItemName(IShellItem* item) {
  PWSTR name = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) &&
      FAILED(item->GetDisplayName(SIGDN_NORMALDISPLAY, &name)))
    return {};
  std::wstring text = name;
  ShellCoTaskMemFree(name);
  return text;
}
} // namespace

bool TFileOpenDialog::Execute() {
  EnsureComStarted();
  TComPtr<IFileOpenDialog> dialog;
  Check(ShellCoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&dialog)),
        L"Creating the folder dialog");
  // The pick-folders option replaces the defaults: no file-system-only or must-exist checks.
  Check(dialog->SetOptions(FOS_PICKFOLDERS), L"Setting the folder dialog's options");
  if (!DefaultFolder.empty()) {
    TComPtr<IShellItem> start;
    if (SUCCEEDED(
            ShellCreateItemFromParsingName(DefaultFolder.c_str(), nullptr, IID_PPV_ARGS(&start))))
      dialog->SetFolder(start.Get());
  }
  HWND owner = Application.MainForm() ? Application.MainForm()->Handle() : nullptr;
  const HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return false;
  Check(shown, L"Showing the folder dialog");
  TComPtr<IShellItem> result;
  Check(dialog->GetResult(&result), L"Reading the folder dialog's choice");
  FileName = ItemName(result.Get());
  return true;
}
