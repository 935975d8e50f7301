#include "widgets/MessageDialog.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Application.h"
#include "widgets/Button.h"
#include "widgets/Dpi.h"
#include "widgets/Form.h"
#include "widgets/Style.h"
#include "widgets/pure/ReportText.h"
#include <algorithm>
#include <vector>

namespace {

class TMessageDialog : public TControl {
public:
  TMessageDialog(std::wstring text, TMessageIcon icon) : FText(std::move(text)), FIcon(icon) {}
  void Execute();

protected:
  HWND CreateWnd(HWND, int, const RECT&) override { return nullptr; }
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  void Build();
  TButton FOk{L"OK"};
  HWND FTextWindow = nullptr;
  std::wstring FText;
  TMessageIcon FIcon;
  bool FDone = false;
};

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

void TMessageDialog::Build() {
  FDpi = DpiOf(nullptr);
  const int dpi = FDpi;
  const int margin = Scale(16, dpi);
  const int iconSize = FIcon == TMessageIcon::Stop ? GetSystemMetrics(SM_CXICON) : 0;
  const int iconGap = iconSize ? Scale(12, dpi) : 0;
  const int buttonWidth = Scale(88, dpi), buttonHeight = Scale(26, dpi);
  HFONT font = CachedFont(TFontSpec{}, dpi);

  // Measure the text, word-wrapped at half the screen's width.
  RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  HDC dc = GetDC(nullptr);
  {
    TSelectObject selectFont(dc, font);
    DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  }
  ReleaseDC(nullptr, dc);
  const int textWidth = std::max<int>(textRect.right, Scale(120, dpi));
  const int textHeight = std::max<int>(textRect.bottom, iconSize);
  const int clientWidth =
      std::max(margin * 2 + iconSize + iconGap + textWidth, buttonWidth + margin * 2);
  const int clientHeight = margin * 3 + textHeight + buttonHeight;

  const RECT frame = WindowRectForClient(clientWidth, clientHeight, kStyle, kExStyle, dpi);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT placed{work.left + (work.right - work.left - width) / 2,
                    work.top + (work.bottom - work.top - height) / 2, 0, 0};
  HWND owner = Application.MainForm() && IsWindowVisible(Application.MainForm()->Handle())
                   ? Application.MainForm()->Handle()
                   : nullptr;
  HWND window =
      CreateOwnWindow(L"ReplimarMessage", kExStyle, Application.Title().c_str(), kStyle, owner, 0,
                      RECT{placed.left, placed.top, placed.left + width, placed.top + height});
  if (!window) throw Exception(L"Cannot create a window. " + SysErrorMessage(GetLastError()));

  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (iconSize) {
    HWND icon = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, margin, margin,
                                iconSize, iconSize, window, nullptr, instance, nullptr);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_HAND)), 0);
  }
  FTextWindow = CreateWindowExW(0, L"STATIC", FText.c_str(),
                                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
                                margin + iconSize + iconGap, margin, textWidth, textHeight, window,
                                nullptr, instance, nullptr);
  SendMessageW(FTextWindow, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  FOk.Default = true;
  FOk.OnClick = [this] { FDone = true; };
  FOk.SetBounds({0, 0, 0, 0});
  FOk.Create(*this);
  SetWindowLongPtrW(FOk.Handle(), GWLP_ID, IDOK);
  SetWindowPos(FOk.Handle(), nullptr, (clientWidth - buttonWidth) / 2,
               clientHeight - margin - buttonHeight, buttonWidth, buttonHeight, SWP_NOZORDER);
  SetFocus(FOk.Handle());
}

// Modal: every other window of the thread takes no input while the box is open. The windows
// disabled here are enabled again however the box ends, also when it could not be built.
class TDisabledWindows {
public:
  TDisabledWindows() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM list) -> BOOL {
          if (IsWindowVisible(w) && IsWindowEnabled(w))
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&FWindows));
    for (HWND w : FWindows)
      EnableWindow(w, FALSE);
  }
  ~TDisabledWindows() {
    for (HWND w : FWindows)
      if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  TDisabledWindows(const TDisabledWindows&) = delete;
  TDisabledWindows& operator=(const TDisabledWindows&) = delete;

private:
  std::vector<HWND> FWindows;
};

void TMessageDialog::Execute() {
  {
    TDisabledWindows disabled;
    Build();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    while (!FDone && !Application.Terminated())
      Application.HandleMessage();
  }
  // The owner is enabled before the box goes, so the focus returns to it.
  if (Handle()) DestroyWindow(Handle());
}

LRESULT TMessageDialog::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case DM_GETDEFID:
    return MAKELONG(IDOK, DC_HASDEFID);
  case WM_COMMAND:
    // Enter (IDOK), Esc (IDCANCEL) and the button all close the box.
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) FDone = true;
    return 0;
  case WM_CLOSE:
    FDone = true;
    return 0;
  default:
    return TControl::WndProc(msg, wParam, lParam);
  }
}

} // namespace

void ShowMessageDialog(const std::wstring& text, TMessageIcon icon) {
  TMessageDialog dialog(text, icon);
  dialog.Execute();
}

void ShowErrorReport(const std::wstring& message) {
  ShowMessageDialog(ErrorReportText(message), TMessageIcon::Stop);
}
