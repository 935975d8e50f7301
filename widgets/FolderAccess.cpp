#include "widgets/FolderAccess.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include <windows.h>

std::wstring CurrentFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  if (length > folder.size()) {
    folder.resize(length);
    length = GetCurrentDirectoryW(length, folder.data());
  }
  folder.resize(length);
  return folder;
}

void EnterFolder(const std::wstring& folder) {
  if (!SetCurrentDirectoryW(folder.c_str())) {
    const DWORD error = GetLastError();
    throw EInOutError(L"Cannot open folder \"" + folder + L"\". " + SysErrorMessage(error));
  }
}
