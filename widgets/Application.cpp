#include "widgets/Application.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Dpi.h"
#include "widgets/Form.h"
#include "widgets/MessageDialog.h"
#include "widgets/StartSteps.h"
#include <commctrl.h>

TApplication Application;

void TApplication::Initialize() {
  EnablePerMonitorDpiAwareness();
  StartStep(L"DPI awareness");
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  StartStep(L"common controls");
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
  if (top && TControl::FromHandle(top) && IsDialogMessageW(top, &msg)) return true;
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

void TApplication::HandleException(std::exception_ptr error) noexcept {
  try {
    std::wstring message;
    try {
      std::rethrow_exception(error);
    } catch (const Exception& e) {
      message = e.Message();
    } catch (const std::bad_alloc&) {
      message = L"Out of memory";
    } catch (const std::exception& e) {
      const std::string what = e.what();
      message.assign(what.begin(), what.end());
    } catch (...) {
      message = L"Unknown error";
    }
    ShowErrorReport(message);
  } catch (...) {
    // The report itself failed (no memory for a window): nothing left to show it with.
    MessageBeep(MB_ICONHAND);
  }
}
