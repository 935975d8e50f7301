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

bool SameFolder(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}
