// The start benchmark's yardstick: a bare Win32 window with the program's manifest (common
// controls 6, PerMonitorV2) and caption, one button, shown at once.
#include "bench/SinceCreation.h"
#include <windows.h>
#include <cstdio>

namespace {

constexpr wchar_t kCaption[] = L"Replica\u00e7\u00e3o diferencial de dados KORVELL";

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const double entered = SinceCreation();
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"BareWindow";
  RegisterClassExW(&windowClass);
  const HWND window =
      CreateWindowExW(0, L"BareWindow", kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                      967, 556, nullptr, nullptr, instance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"Sincronizar Agora", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 248,
                  323, 120, 30, window, nullptr, instance, nullptr);
  const double created = SinceCreation();
  ShowWindow(window, SW_SHOW);
  const double shown = SinceCreation();
  UpdateWindow(window);
  const double painted = SinceCreation();
  // Beside the program's marks, for the benchmark's table.
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"REPLIMAR_START_STEPS_FILE", path, MAX_PATH)) {
    if (FILE* file = _wfopen(path, L"a")) {
      std::fprintf(file,
                   "bare window: process loaded\t%.2f\nbare window: window and button\t%.2f\n"
                   "bare window: shown (visible)\t%.2f\nbare window: first paint\t%.2f\nend\n",
                   entered, created, shown, painted);
      std::fclose(file);
    }
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
