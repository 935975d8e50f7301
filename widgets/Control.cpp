#include "widgets/Control.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Dpi.h"
#include "widgets/Style.h"
#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

namespace {
int gNextId = 1000;

// The objects of the windows made on this thread. Looked up for every message of an own-class
// window and every notification reflected to a child, so it stays in the process: a window
// property would cost a trip to the window server each time.
std::unordered_map<HWND, TControl*>& Attached() {
  thread_local std::unordered_map<HWND, TControl*> attached;
  return attached;
}
} // namespace

TControl::~TControl() {
  if (FParent) {
    auto& siblings = FParent->FChildren;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (TControl* child : FChildren)
    child->FParent = nullptr;
  if (FHandle) {
    Attached().erase(FHandle);
    Unsubclass();
    DestroyWindow(FHandle);
  }
}

TControl* TControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  const auto found = Attached().find(window);
  return found == Attached().end() ? nullptr : found->second;
}

void TControl::SetBounds(const TBounds& bounds) {
  FBounds = bounds;
  if (FHandle) {
    const RECT r = ScaledRect();
    SetWindowPos(FHandle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TControl::SetFont(const TFontSpec& font) {
  FFont = font;
  FOwnFont = true;
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

const TFontSpec& TControl::Font() const {
  if (!FOwnFont && FParent) return FParent->Font();
  return FFont;
}

HFONT TControl::FontHandle() const {
  return CachedFont(Font(), FDpi);
}

RECT TControl::ScaledRect() const {
  return RECT{Scale(FBounds.Left, FDpi), Scale(FBounds.Top, FDpi),
              Scale(FBounds.Left + FBounds.Width, FDpi), Scale(FBounds.Top + FBounds.Height, FDpi)};
}

void TControl::Create(TControl& parent) {
  FParent = &parent;
  parent.FChildren.push_back(this);
  FDpi = parent.FDpi;
  const RECT r = ScaledRect();
  const HWND window = CreateWnd(parent.Handle(), gNextId++, r);
  if (!window) throw Exception(L"Cannot create a window. " + SysErrorMessage(GetLastError()));
  // An own-class window is attached while it is created; a system control is attached here
  // and subclassed, so that its destruction clears Handle() as an own window's does.
  const bool ownClass = FromHandle(window) == this;
  if (!ownClass) {
    Attach(window);
    Subclass();
  }
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  AfterCreate();
}

void TControl::Detach() {
  if (FHandle) Attached().erase(FHandle);
  FHandle = nullptr;
}

void TControl::Attach(HWND window) {
  FHandle = window;
  Attached()[window] = this;
}

void TControl::ApplyDpi(int dpi) {
  FDpi = dpi;
  if (FParent && FHandle) {
    const RECT r = ScaledRect();
    SetWindowPos(FHandle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
  }
  for (TControl* child : FChildren)
    child->ApplyDpi(dpi);
}

void TControl::CatchUp() {
  for (TControl* child : FChildren)
    child->CatchUp();
}

HWND TControl::CreateOwnWindow(const wchar_t* className, DWORD exStyle, const wchar_t* text,
                               DWORD style, HWND parent, int id, const RECT& r) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof(existing)};
  if (!GetClassInfoExW(instance, className, &existing)) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = OwnClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }
  return CreateWindowExW(
      exStyle, className, text, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
      parent ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr, instance, this);
}

LRESULT CALLBACK TControl::OwnClassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)
        ->Attach(window);
  TControl* self = FromHandle(window);
  if (!self) return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    self->Detach();
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  return self->WndProc(msg, wParam, lParam);
}

LRESULT TControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Reflect(msg, wParam, lParam, result)) return result;
  switch (msg) {
  case WM_ERASEBKGND:
    return 1; // WM_PAINT covers the whole client area
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    RECT client;
    GetClientRect(FHandle, &client);
    Paint(dc, client);
    EndPaint(FHandle, &ps);
    return 0;
  }
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    SetBkColor(reinterpret_cast<HDC>(wParam), FaceColour());
    SetTextColor(reinterpret_cast<HDC>(wParam), FaceTextColour());
    return reinterpret_cast<LRESULT>(FaceBrush());
  default:
    return DefWindowProcW(FHandle, msg, wParam, lParam);
  }
}

void TControl::Paint(HDC dc, const RECT& client) {
  PaintBackground(dc, client);
}

bool TControl::OnParentNotify(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

void TControl::PaintBackground(HDC dc, const RECT& rect) {
  FillRect(dc, &rect, FaceBrush());
}

void TControl::PaintParentBackground(HDC dc, const RECT& rect) {
  if (!FParent || !FParent->Handle()) return;
  RECT inParent = rect;
  MapWindowPoints(FHandle, FParent->Handle(), reinterpret_cast<POINT*>(&inParent), 2);
  POINT oldOrigin;
  OffsetViewportOrgEx(dc, rect.left - inParent.left, rect.top - inParent.top, &oldOrigin);
  FParent->PaintBackground(dc, inParent);
  SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}

// The control's own procedure is replaced rather than chained through the common controls'
// subclass list, which looks itself up in a window property (a trip to the window server under
// Wine) twice for every message.
void TControl::Subclass() {
  FSystemProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassThunk)));
}

void TControl::Unsubclass() {
  if (!FSystemProc) return;
  if (GetWindowLongPtrW(FHandle, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SubclassThunk))
    SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FSystemProc));
  FSystemProc = nullptr;
}

LRESULT CALLBACK TControl::SubclassThunk(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* self = FromHandle(window);
  // Only attached windows are subclassed, and they are let go before they are detached.
  if (!self || !self->FSystemProc) return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    const WNDPROC system = self->FSystemProc;
    self->Unsubclass();
    self->Detach();
    return CallWindowProcW(system, window, msg, wParam, lParam);
  }
  return self->SubclassProc(msg, wParam, lParam);
}

LRESULT TControl::SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(msg, wParam, lParam);
}

LRESULT TControl::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(FSystemProc, FHandle, msg, wParam, lParam);
}

bool TControl::Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
  case WM_COMMAND:
    child = reinterpret_cast<HWND>(lParam);
    break;
  case WM_DRAWITEM:
    child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    break;
  case WM_NOTIFY:
    child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    break;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
    child = reinterpret_cast<HWND>(lParam);
    break;
  default:
    return false;
  }
  TControl* control = FromHandle(child);
  return control && control->OnParentNotify(msg, wParam, lParam, result);
}

HFONT CachedFont(const TFontSpec& font, int dpi, bool antialiased) {
  static std::map<std::tuple<std::wstring, int, int, bool>, UniqueFont> cache;
  auto& slot = cache[{font.Face, font.Points, dpi, antialiased}];
  if (!slot) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.Points, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = antialiased ? DEFAULT_QUALITY : NONANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, font.Face.c_str(), LF_FACESIZE);
    slot.Reset(CreateFontIndirectW(&lf));
  }
  return slot.Get();
}
