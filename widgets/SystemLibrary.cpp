#include "widgets/SystemLibrary.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"

HMODULE SystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Windows 7 without update KB2533623 knows no search flags: the full path in the system
  // folder, its own dependencies looked for there first.
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
      module = LoadLibraryExW((std::wstring(system) + L"\\" + name).c_str(), nullptr,
                              LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  if (!module) {
    const DWORD error = GetLastError();
    throw Exception(std::wstring(L"Cannot load ") + name + L". " + SysErrorMessage(error));
  }
  return module;
}

void ThrowMissingEntry(const wchar_t* library, const char* name, DWORD error) {
  throw Exception(std::wstring(library) + L" lacks " + std::wstring(name, name + strlen(name)) +
                  L". " + SysErrorMessage(error));
}
