#include "widgets/Form.h"
#include "widgets/Application.h"
#include "widgets/Background.h"
#include "widgets/Dpi.h"
#include "widgets/Style.h"
#include <algorithm>

namespace {
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
// The longest the first show waits, in all, for what its widgets read (a list's folder).
constexpr unsigned kShowWaitMs = 40;
} // namespace

TForm::TForm() = default;

TForm::~TForm() {
  Application.UnregisterForm(*this);
}

void TForm::CreateForm(const std::wstring& className, const std::wstring& caption, int clientWidth,
                       int clientHeight, const TFontSpec& font) {
  FClassName = className;
  FCaption = caption;
  FClientWidth = clientWidth;
  FClientHeight = clientHeight;
  SetFont(font);
  FDpi = DpiOf(nullptr);
  SetBounds({0, 0, clientWidth, clientHeight});
  CreateTopLevel(nullptr, FrameRect(FDpi));
  // The window may have landed on a monitor of another DPI than the system's.
  if (const int dpi = DpiOf(Handle()); dpi != FDpi) {
    FDpi = dpi;
    const RECT r = FrameRect(dpi);
    SetWindowPos(Handle(), nullptr, 0, 0, r.right, r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Application.RegisterForm(*this);
}

TWindowArgs TForm::WindowArgs() const {
  return {FClassName.c_str(), FCaption, kFormStyle, kFormExStyle};
}

RECT TForm::FrameRect(int dpi) const {
  const RECT r = WindowRectForClient(Scale(FClientWidth, dpi), Scale(FClientHeight, dpi),
                                     kFormStyle, kFormExStyle, dpi);
  return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

void TForm::SetIcon(const wchar_t* resourceName) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto load = [&](int metric) {
    const int size = Scale(GetSystemMetrics(metric), FDpi) * kDesignDpi / DpiOf(nullptr);
    return static_cast<HICON>(LoadImageW(instance, resourceName, IMAGE_ICON, size, size, 0));
  };
  FBigIcon.Reset(load(SM_CXICON));
  FSmallIcon.Reset(load(SM_CXSMICON));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FBigIcon.Get()));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FSmallIcon.Get()));
}

void TForm::Show() {
  if (!FShown) {
    FShown = true;
    if (OnShow) Application.Invoke(OnShow);
    Application.Invoke([this] {
      // The widgets' waits for what they read share one budget: a folder that answers late
      // shows as waiting rather than hold the window's appearance.
      const Background::TWaitBudget budget(kShowWaitMs);
      CatchUp();
    });
    // Centre of the primary screen, never left of or above the desktop.
    RECT window;
    GetWindowRect(Handle(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int left = std::max<int>((GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                   GetSystemMetrics(SM_XVIRTUALSCREEN));
    const int top = std::max<int>((GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                  GetSystemMetrics(SM_YVIRTUALSCREEN));
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

void TForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) Application.Invoke([&] { OnCloseQuery(canClose); });
  if (!canClose) return;
  if (Application.MainForm() == this)
    Application.Terminate(); // the window stays until the loop has ended
  else
    ShowWindow(Handle(), SW_HIDE);
}

void TForm::OnDpiChanged(int dpi, const RECT& suggested) {
  ApplyDpi(dpi);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm::FocusNext(WPARAM wParam, LPARAM lParam) {
  HWND target = nullptr;
  if (LOWORD(lParam)) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    HWND focus = GetFocus();
    if (focus && !IsChild(Handle(), focus)) focus = nullptr;
    target = GetNextDlgTabItem(Handle(), focus, wParam != 0);
  }
  // Only a tab stop of this window takes the focus (arrow keys ask for any neighbour).
  if (!target || !IsChild(Handle(), target) || !(GetWindowLongPtrW(target, GWL_STYLE) & WS_TABSTOP))
    return;
  SetFocus(target);
}

void TForm::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) FLastFocus = focus;
    return;
  }
  if (HIWORD(wParam)) return; // minimised: nothing takes the focus
  HWND target = FLastFocus && IsChild(Handle(), FLastFocus) && IsWindowVisible(FLastFocus) &&
                        IsWindowEnabled(FLastFocus)
                    ? FLastFocus
                    : GetNextDlgTabItem(Handle(), nullptr, FALSE);
  if (target) SetFocus(target);
}

void TForm::OnColoursChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
  StyleManager::SettingsChanged();
  // The system's controls inside the window hear of it through their top-level window.
  MSG change{Handle(), msg, wParam, lParam, 0, {}};
  EnumChildWindows(
      Handle(),
      [](HWND child, LPARAM data) -> BOOL {
        const auto* m = reinterpret_cast<const MSG*>(data);
        SendMessageW(child, m->message, m->wParam, m->lParam);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&change));
  RedrawWindow(Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_CLOSE:
    Close();
    return 0;
  case WM_NEXTDLGCTL:
    FocusNext(wParam, lParam);
    return 0;
  case WM_ACTIVATE:
    OnActivate(wParam);
    return 0;
  case WM_SETTINGCHANGE:
  case WM_SYSCOLORCHANGE:
    OnColoursChanged(msg, wParam, lParam);
    return 0;
  case WM_DPICHANGED:
    OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
  default:
    return TOwnWindow::WndProc(msg, wParam, lParam);
  }
}
