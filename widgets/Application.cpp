#include "widgets/Application.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Dpi.h"
#include "widgets/Form.h"
#include "widgets/MessageDialog.h"
#include <commctrl.h>

TApplication Application;

namespace {
// Once the keyboard is used to move around, the focus marks stay shown, as in a dialog.
void ShowFocusCues(HWND top, WPARAM key) {
  switch (key) {
  case VK_TAB:
  case VK_LEFT:
  case VK_RIGHT:
  case VK_UP:
  case VK_DOWN:
  case VK_MENU:
    if (SendMessageW(top, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)
      SendMessageW(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    break;
  }
}
} // namespace

void TApplication::Initialize() {
  EnablePerMonitorDpiAwareness();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  // COM starts with the first folder dialog (ShellLibraries.h), not here.
}

void TApplication::RegisterForm(TForm& form) {
  if (!FMainForm) FMainForm = &form;
}

void TApplication::UnregisterForm(TForm& form) {
  if (FMainForm == &form) FMainForm = nullptr;
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated)
    HandleMessage();
}

bool TApplication::Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return false;
  }
  // Keyboard navigation (Tab, arrows) inside the form that owns the focused window.
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  if (top && TControl::FromHandle(top)) {
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) ShowFocusCues(top, msg.wParam);
    if (IsDialogMessageW(top, &msg)) return true;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    Dispatch(msg);
}

void TApplication::HandleMessage() {
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == -1) return;
  if (got == 0) {
    FTerminated = true;
    return;
  }
  Dispatch(msg);
}

std::wstring TApplication::ExceptionMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return L"Out of memory";
  } catch (const std::exception& e) {
    return RuntimeMessageText(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
  try {
    ShowErrorReport(ExceptionMessage(error));
  } catch (...) {
    // The report itself failed (no memory for a window): nothing left to show it with.
    MessageBeep(MB_ICONHAND);
  }
}
