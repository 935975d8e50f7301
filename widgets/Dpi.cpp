#include "widgets/Dpi.h"
#include "funcoes/Handles.h"
#include "widgets/SystemLibrary.h"

namespace {
template <typename Fn> Fn User32Proc(const char* name) {
  return EntryOf<Fn>(GetModuleHandleW(L"user32.dll"), name);
}
} // namespace

void EnablePerMonitorDpiAwareness() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  if (auto set = User32Proc<SetContext>("SetProcessDpiAwarenessContext")) {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; fails harmlessly when already set.
    set(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)));
  } else if (auto legacy = User32Proc<BOOL(WINAPI*)()>("SetProcessDPIAware")) {
    legacy();
  }
}

int DpiOf(HWND window) {
  if (window) {
    if (auto forWindow = User32Proc<UINT(WINAPI*)(HWND)>("GetDpiForWindow"))
      if (UINT dpi = forWindow(window)) return static_cast<int>(dpi);
  }
  if (auto forSystem = User32Proc<UINT(WINAPI*)()>("GetDpiForSystem"))
    if (UINT dpi = forSystem()) return static_cast<int>(dpi);
  const int dpi = GetDeviceCaps(TWindowDc(nullptr).Get(), LOGPIXELSY);
  return dpi > 0 ? dpi : kDesignDpi;
}

RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
  RECT rect{0, 0, clientWidth, clientHeight};
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  if (auto adjust = User32Proc<AdjustForDpi>("AdjustWindowRectExForDpi"))
    adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  else
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return rect;
}
