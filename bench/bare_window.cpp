// The start benchmark's yardstick: a bare Win32 window with the program's manifest (common
// controls 6, PerMonitorV2) and caption, one button, shown at once.
#include <windows.h>

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
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
