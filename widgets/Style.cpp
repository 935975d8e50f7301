#include "widgets/Style.h"
#include "funcoes/Handles.h"
#include "widgets/Dpi.h"
#include <map>
#include <memory>
#include <optional>

namespace {
std::optional<TStyleSheet> gActive;

COLORREF Mix(COLORREF a, COLORREF b, int percentOfB) {
  auto channel = [&](int shift) {
    const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    return static_cast<COLORREF>((ca * (100 - percentOfB) + cb * percentOfB) / 100) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}
} // namespace

bool StyleManager::TrySetStyle(const std::wstring& name, bool showErrorDialog) {
  // Resource names are stored in capitals and looked up without regard to case.
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  TStyleSheet sheet;
  bool loaded = false;
  if (resource) {
    HGLOBAL data = LoadResource(module, resource);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (bytes) loaded = ParseStyleSheet({bytes, SizeofResource(module, resource)}, sheet);
  }
  if (!loaded) {
    if (showErrorDialog) {
      const std::wstring text = L"Style '" + name + L"' not found";
      MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
    return false;
  }
  gActive = std::move(sheet);
  return true;
}

const TStyleSheet* StyleManager::Active() {
  return gActive ? &*gActive : nullptr;
}

void StyleManager::Reset() {
  gActive.reset();
}

COLORREF FaceColour() {
  return gActive ? Rgb(gActive->Face) : GetSysColor(COLOR_BTNFACE);
}

COLORREF FaceTextColour() {
  return gActive ? Rgb(gActive->FaceText) : GetSysColor(COLOR_WINDOWTEXT);
}

HBRUSH SolidBrush(COLORREF colour) {
  static std::map<COLORREF, UniqueBrush> brushes;
  auto& slot = brushes[colour];
  if (!slot) slot.Reset(CreateSolidBrush(colour));
  return slot.Get();
}

HBRUSH FaceBrush() {
  return gActive ? SolidBrush(FaceColour()) : GetSysColorBrush(COLOR_BTNFACE);
}

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  TRIVERTEX v[2] = {};
  v[0].x = rect.left;
  v[0].y = rect.top;
  v[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
  v[1].x = rect.right;
  v[1].y = rect.bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
  GRADIENT_RECT g{0, 1};
  // gdi32's own entry: msimg32 is no known DLL and would be looked for beside the exe first.
  GdiGradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

void DrawRaisedEdge(HDC dc, const RECT& rect) {
  if (!gActive) {
    RECT r = rect;
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    return;
  }
  const RECT top{rect.left, rect.top, rect.right, rect.top + 1};
  const RECT left{rect.left, rect.top, rect.left + 1, rect.bottom};
  const RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
  const RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
  FillRect(dc, &top, SolidBrush(Rgb(gActive->EdgeLight)));
  FillRect(dc, &left, SolidBrush(Rgb(gActive->EdgeLight)));
  FillRect(dc, &bottom, SolidBrush(Rgb(gActive->EdgeDark)));
  FillRect(dc, &right, SolidBrush(Rgb(gActive->EdgeDark)));
}

void DrawButtonFace(HDC dc, const RECT& rect, const std::wstring& text, HFONT font,
                    const TButtonLook& look, int dpi) {
  RECT r = rect;
  if (!gActive) {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (look.Pressed ? DFCS_PUSHED : 0));
  } else {
    const TStyleSheet& s = *gActive;
    const COLORREF top = Rgb(look.Pressed ? s.ButtonDownTop
                             : look.Hot   ? s.ButtonHotTop
                                          : s.ButtonTop);
    const COLORREF bottom = Rgb(look.Pressed ? s.ButtonDownBottom
                                : look.Hot   ? s.ButtonHotBottom
                                             : s.ButtonBottom);
    const int radius = Scale(6, dpi);
    // Rounded body: gradient clipped to a rounded region, sheen on the upper half.
    UniqueRegion body(CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, radius, radius));
    SelectClipRgn(dc, body.Get());
    FillVerticalGradient(dc, r, top, bottom);
    RECT sheen{r.left + 1, r.top + 1, r.right - 1, r.top + (r.bottom - r.top) / 2};
    if (!look.Pressed)
      FillVerticalGradient(dc, sheen, Mix(top, Rgb(s.ButtonGloss), 55),
                           Mix(top, Rgb(s.ButtonGloss), 20));
    SelectClipRgn(dc, nullptr);
    UniquePen border(CreatePen(PS_SOLID, 1, Rgb(s.ButtonBorder)));
    TSelectObject pen(dc, border.Get());
    TSelectObject brush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, gActive ? Rgb(gActive->ButtonText) : GetSysColor(COLOR_BTNTEXT));
  TSelectObject selectFont(dc, font);
  RECT textRect = r;
  if (look.Pressed) OffsetRect(&textRect, 1, 1);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (look.Focused) {
    RECT focus = r;
    InflateRect(&focus, -Scale(3, dpi), -Scale(3, dpi));
    SetTextColor(dc, RGB(0, 0, 0));
    DrawFocusRect(dc, &focus);
  }
}
