// A library that a test plants beside the program under the name of a system library: when
// anything loads it, it leaves "<its file name>.loaded" in the folder named by
// REPLIMAR_PLANTED_MARKERS, so the test sees which planted copy was taken instead of the system's.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"REPLIMAR_PLANTED_MARKERS", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(instance, module, MAX_PATH);
  const wchar_t* name = module;
  for (const wchar_t* p = module; *p; ++p)
    if (*p == L'\\') name = p + 1;
  wchar_t marker[2 * MAX_PATH] = {};
  wsprintfW(marker, L"%s\\%s.loaded", folder, name);
  const HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
