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

// The one CreateWindowExW of the widgets; param reaches WM_NCCREATE.
HWND CreateWindowFrom(const TWindowArgs& args, void* param) {
  const RECT& r = args.Rect;
  // A top-level window's menu slot holds a menu, not a child identifier.
  const HMENU id =
      args.Style & WS_CHILD ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.Id)) : nullptr;
  return CreateWindowExW(args.ExStyle, args.ClassName, args.Text.c_str(), args.Style, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, args.Parent, id,
                         GetModuleHandleW(nullptr), param);
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
  FDpi = parent.FDpi;
  Create(parent, ScaledRect());
}

void TControl::Create(TControl& parent, const RECT& rect) {
  FParent = &parent;
  parent.FChildren.push_back(this);
  FDpi = parent.FDpi;
  TWindowArgs args = WindowArgs();
  args.Parent = parent.Handle();
  args.Id = gNextId++;
  args.Rect = rect;
  if (!CreateHandle(args))
    throw Exception(L"Cannot create a window. " + SysErrorMessage(GetLastError()));
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

HWND CreateSystemControl(const TWindowArgs& args) {
  return CreateWindowFrom(args, nullptr);
}

// Own windows

HWND TOwnWindow::CreateHandle(const TWindowArgs& args) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof(existing)};
  if (!GetClassInfoExW(instance, args.ClassName, &existing)) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = args.ClassName;
    RegisterClassExW(&wc);
  }
  // The window is attached to this object by WM_NCCREATE, its first message.
  return CreateWindowFrom(args, static_cast<TOwnWindow*>(this));
}

void TOwnWindow::CreateTopLevel(HWND owner, const RECT& rect) {
  TWindowArgs args = WindowArgs();
  args.Parent = owner;
  args.Rect = rect;
  if (!CreateHandle(args))
    throw Exception(L"Cannot create a window. " + SysErrorMessage(GetLastError()));
}

LRESULT CALLBACK TOwnWindow::ClassProc(HWND window, UINT msg, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  if (msg == WM_NCCREATE)
    static_cast<TOwnWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)
        ->Attach(window);
  // Only own windows are attached to windows of this procedure.
  auto* self = static_cast<TOwnWindow*>(FromHandle(window));
  if (!self) return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    self->Detach();
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  return self->WndProc(msg, wParam, lParam);
}

LRESULT TOwnWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Reflect(msg, wParam, lParam, result)) return result;
  switch (msg) {
  case WM_ERASEBKGND:
    return 1; // WM_PAINT covers the whole client area
  case WM_PAINT: {
    TPaintDc dc(Handle());
    RECT client;
    GetClientRect(Handle(), &client);
    Paint(dc.Get(), client);
    return 0;
  }
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    SetBkColor(reinterpret_cast<HDC>(wParam), FaceColour());
    SetTextColor(reinterpret_cast<HDC>(wParam), FaceTextColour());
    return reinterpret_cast<LRESULT>(FaceBrush());
  default:
    return DefWindowProcW(Handle(), msg, wParam, lParam);
  }
}

void TOwnWindow::Paint(HDC dc, const RECT& client) {
  PaintBackground(dc, client);
}

bool TOwnWindow::Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
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

// System controls

TSystemControl::~TSystemControl() {
  // The window (destroyed by ~TControl) goes back to the system's procedure first: this
  // object's part is already gone.
  Unsubclass();
}

HWND TSystemControl::CreateHandle(const TWindowArgs& args) {
  const HWND window = CreateSystemControl(args);
  if (!window) return nullptr;
  // Subclassed so that its destruction clears Handle() as an own window's does.
  Attach(window);
  Subclass();
  return window;
}

// The control's own procedure is replaced rather than chained through the common controls'
// subclass list, which looks itself up in a window property (a trip to the window server under
// Wine) twice for every message.
void TSystemControl::Subclass() {
  FSystemProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassThunk)));
}

void TSystemControl::Unsubclass() {
  if (!FSystemProc) return;
  if (GetWindowLongPtrW(Handle(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SubclassThunk))
    SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FSystemProc));
  FSystemProc = nullptr;
}

LRESULT CALLBACK TSystemControl::SubclassThunk(HWND window, UINT msg, WPARAM wParam,
                                               LPARAM lParam) noexcept {
  // Only system controls are subclassed, and they are let go before they are detached.
  auto* self = static_cast<TSystemControl*>(FromHandle(window));
  if (!self || !self->FSystemProc) return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    const WNDPROC system = self->FSystemProc;
    self->Unsubclass();
    self->Detach();
    return CallWindowProcW(system, window, msg, wParam, lParam);
  }
  return self->SubclassProc(msg, wParam, lParam);
}

LRESULT TSystemControl::SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(msg, wParam, lParam);
}

LRESULT TSystemControl::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(FSystemProc, Handle(), msg, wParam, lParam);
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
