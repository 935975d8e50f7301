#include "ui/SingleInstance.h"
#include "ui/pure/WindowTexts.h"
#include <windows.h>
#include <string>

namespace {
// "Local\" names an object of this session alone; the user's name keeps apart two users that
// share a session (run as another user).
std::wstring ClaimName() {
  wchar_t user[257] = {};
  DWORD length = 257;
  if (!GetUserNameW(user, &length)) user[0] = L'\0';
  return L"Local\\ReplimarKORVELL.OneCopy." + std::wstring(user);
}

void BringForward(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}
} // namespace

TSingleInstance::TSingleInstance() {
  const std::wstring name = ClaimName();
  const ULONGLONG deadline = GetTickCount64() + kFindTimeout;
  for (;;) {
    UniqueHandle claim(CreateMutexW(nullptr, FALSE, name.c_str()));
    // Without the object (no rights, no memory) the copy runs as it would without the rule.
    if (!claim || GetLastError() != ERROR_ALREADY_EXISTS) {
      FClaim = std::move(claim);
      FFirst = true;
      return;
    }
    // Closed at once: a copy that ends while this one looks leaves no claim behind.
    claim.Reset();
    if (const HWND window = FindWindowW(kWindowClass, kWindowCaption)) {
      BringForward(window);
      return;
    }
    if (GetTickCount64() >= deadline) return;
    Sleep(100); // the first copy is still starting: its window is not made yet
  }
}
