#pragma once
// Functions of libraries of the system folder, loaded on first use rather than imported, so
// that the start-up does not pay for them and a library planted beside the program is never
// the one loaded.
#include <windows.h>
#include <cstring>
#include <string>

// A library of the system folder, kept for the life of the process (objects made by it may
// outlive every caller). Raises Exception when it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);
// Raises Exception naming the library and the function.
[[noreturn]] void ThrowMissingEntry(const wchar_t* library, const char* name, DWORD error);

template <typename Function> Function* SystemEntry(const wchar_t* library, const char* name) {
  const FARPROC address = GetProcAddress(SystemLibrary(library), name);
  if (!address) ThrowMissingEntry(library, name, GetLastError());
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(address));
}
