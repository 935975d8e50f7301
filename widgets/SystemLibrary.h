#pragma once
// Functions looked up at run time rather than imported: those of libraries of the system
// folder, loaded on first use, so that the start-up does not pay for them and a library planted
// beside the program is never the one loaded; and the newer functions of libraries every
// process has loaded (kernel32.dll, user32.dll), which older systems lack.
#include <windows.h>
#include <cstring>
#include <string>

// The function of that name in a loaded module as a FunctionPointer; null when the module is
// null or lacks it.
template <typename FunctionPointer> FunctionPointer EntryOf(HMODULE module, const char* name) {
  const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<FunctionPointer>(reinterpret_cast<void (*)()>(address));
}

// A library of the system folder, kept for the life of the process (objects made by it may
// outlive every caller). Raises Exception when it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);
// Raises Exception naming the library and the function.
[[noreturn]] void ThrowMissingEntry(const wchar_t* library, const char* name, DWORD error);

template <typename Function> Function* SystemEntry(const wchar_t* library, const char* name) {
  Function* const entry = EntryOf<Function*>(SystemLibrary(library), name);
  if (!entry) ThrowMissingEntry(library, name, GetLastError());
  return entry;
}
