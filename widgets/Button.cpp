#include "widgets/Button.h"
#include "widgets/Application.h"
#include "widgets/Style.h"

TWindowArgs TButton::WindowArgs() const {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  style |= StyleManager::Loaded() ? BS_OWNERDRAW : (Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  return {L"BUTTON", FCaption, style};
}

void TButton::SetCaption(const std::wstring& caption) {
  FCaption = caption;
  if (Handle()) SetWindowTextW(Handle(), caption.c_str());
}

bool TButton::OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (OnClick) Application.Invoke(OnClick);
    result = 0;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    PaintParentBackground(item->hDC, item->rcItem);
    TButtonLook look;
    look.Hot = FHot;
    look.Pressed = (item->itemState & ODS_SELECTED) != 0;
    look.Focused = (item->itemState & ODS_FOCUS) != 0 && !(item->itemState & ODS_NOFOCUSRECT);
    look.Default = Default;
    DrawButtonFace(item->hDC, item->rcItem, FCaption, FontHandle(), look, Dpi());
    result = TRUE;
    return true;
  }
  return false;
}

LRESULT TButton::SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_GETDLGCODE:
    // Enter presses the focused button itself; the window has no default button.
    if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
        reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
      return DefaultProc(msg, wParam, lParam) | DLGC_WANTMESSAGE;
    break;
  case WM_KEYDOWN:
    if (wParam == VK_RETURN) {
      // A held key presses once, not once per repeat.
      if (!(lParam & (1 << 30)))
        SendMessageW(GetParent(Handle()), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(Handle()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(Handle()));
      return 0;
    }
    break;
  case WM_MOUSEMOVE:
    if (!FHot) {
      FHot = true;
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
      TrackMouseEvent(&track);
      InvalidateRect(Handle(), nullptr, FALSE);
    }
    break;
  case WM_MOUSELEAVE:
    FHot = false;
    InvalidateRect(Handle(), nullptr, FALSE);
    break;
  case WM_SETTEXT: {
    // Keep the drawn caption in step with the window text.
    const LRESULT r = DefaultProc(msg, wParam, lParam);
    FCaption = reinterpret_cast<const wchar_t*>(lParam);
    InvalidateRect(Handle(), nullptr, FALSE);
    return r;
  }
  case WM_ERASEBKGND:
    if (StyleManager::Loaded()) return 1;
    break;
  }
  return DefaultProc(msg, wParam, lParam);
}
