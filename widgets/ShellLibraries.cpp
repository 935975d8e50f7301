#include "widgets/ShellLibraries.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include <cstring>
#include <string>

namespace {
// A library of the system folder, kept for the life of the process (COM objects created from
// it must outlive every caller).
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

template <typename Function> Function* Entry(const wchar_t* library, const char* name) {
  const FARPROC address = GetProcAddress(SystemLibrary(library), name);
  if (!address) {
    const DWORD error = GetLastError();
    throw Exception(std::wstring(library) + L" lacks " + std::wstring(name, name + strlen(name)) +
                    L". " + SysErrorMessage(error));
  }
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(address));
}

struct TOle32 {
  decltype(CoInitializeEx)* Initialize =
      Entry<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  decltype(CoCreateInstance)* CreateInstance =
      Entry<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  decltype(CoTaskMemFree)* TaskMemFree =
      Entry<decltype(CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
};

const TOle32& Ole32() {
  static const TOle32 functions;
  return functions;
}
} // namespace

void EnsureComStarted() {
  static bool started = false;
  if (started) return;
  const HRESULT result = Ole32().Initialize(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE and a different apartment already set up on this thread still let the dialog run.
  if (FAILED(result) && result != RPC_E_CHANGED_MODE)
    throw Exception(L"Starting COM failed. " + SysErrorMessage(static_cast<DWORD>(result)));
  started = true;
}

HRESULT ShellCoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                              void** object) {
  return Ole32().CreateInstance(classId, outer, context, interfaceId, object);
}

void ShellCoTaskMemFree(void* memory) {
  Ole32().TaskMemFree(memory);
}

HRESULT ShellCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID interfaceId,
                                       void** item) {
  static const auto create =
      Entry<decltype(SHCreateItemFromParsingName)>(L"shell32.dll", "SHCreateItemFromParsingName");
  return create(path, context, interfaceId, item);
}
