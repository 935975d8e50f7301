#include "widgets/MessageDialog.h"
#include "funcoes/Handles.h"
#include "widgets/Application.h"
#include "widgets/Button.h"
#include "widgets/Dpi.h"
#include "widgets/Form.h"
#include "widgets/Style.h"
#include "widgets/pure/MessageBoxLayout.h"
#include "widgets/pure/ReportText.h"
#include <vector>

namespace {

class TMessageDialog : public TOwnWindow {
public:
  TMessageDialog(std::wstring text, TMessageIcon icon) : FText(std::move(text)), FIcon(icon) {}
  void Execute();

protected:
  TWindowArgs WindowArgs() const override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  // Measures the text, lays the box out and creates it with its parts.
  void Build();
  void CreateParts(const TMessageBoxLayout& layout);
  TButton FOk{L"OK"};
  std::wstring FText;
  TMessageIcon FIcon;
  bool FDone = false;
};

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// Text flags of the box's text, as the static control draws it.
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

TWindowArgs TMessageDialog::WindowArgs() const {
  return {L"ReplimarMessage", Application.Title(), kStyle, kExStyle};
}

void TMessageDialog::Build() {
  FDpi = DpiOf(nullptr);
  // The text word-wrapped at half the screen's width.
  RECT measured{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  {
    TWindowDc screen(nullptr);
    TSelectObject selectFont(screen.Get(), FontHandle());
    DrawTextW(screen.Get(), FText.c_str(), static_cast<int>(FText.size()), &measured,
              DT_CALCRECT | kTextFormat);
  }
  const int iconSize = FIcon == TMessageIcon::Stop ? GetSystemMetrics(SM_CXICON) : 0;
  const TMessageBoxLayout layout =
      MessageBoxLayout(measured.right, measured.bottom, iconSize, FDpi);

  const RECT frame =
      WindowRectForClient(layout.ClientWidth, layout.ClientHeight, kStyle, kExStyle, FDpi);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const TBounds placed =
      CentreInWorkArea({work.left, work.top, work.right - work.left, work.bottom - work.top},
                       frame.right - frame.left, frame.bottom - frame.top);
  HWND owner = Application.MainForm() && IsWindowVisible(Application.MainForm()->Handle())
                   ? Application.MainForm()->Handle()
                   : nullptr;
  CreateTopLevel(
      owner, RECT{placed.Left, placed.Top, placed.Left + placed.Width, placed.Top + placed.Height});
  CreateParts(layout);
}

void TMessageDialog::CreateParts(const TMessageBoxLayout& layout) {
  const auto rectOf = [](const TBounds& r) {
    return RECT{r.Left, r.Top, r.Left + r.Width, r.Top + r.Height};
  };
  if (layout.Icon.Width) {
    HWND icon = CreateSystemControl(
        {L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, 0, Handle(), 0, rectOf(layout.Icon)});
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_HAND)), 0);
  }
  HWND text = CreateSystemControl({L"STATIC", FText,
                                   WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
                                   0, Handle(), 0, rectOf(layout.Text)});
  SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  FOk.Default = true;
  FOk.OnClick = [this] { FDone = true; };
  FOk.Create(*this, rectOf(layout.Button));
  SetWindowLongPtrW(FOk.Handle(), GWLP_ID, IDOK);
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
    return TOwnWindow::WndProc(msg, wParam, lParam);
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
