#include "widgets/Style.h"
#include "funcoes/Handles.h"
#include "widgets/Dpi.h"
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace {
std::optional<TStyleSheet> gLoaded;
std::optional<bool> gHighContrastOverride;
// The system's answer, asked once: every face, brush and text colour depends on it, and asking
// costs a trip to the window server. Forgotten when the settings change.
std::optional<bool> gHighContrast;

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
  gLoaded = std::move(sheet);
  return true;
}

const TStyleSheet* StyleManager::Loaded() {
  return gLoaded ? &*gLoaded : nullptr;
}

const TStyleSheet* StyleManager::Active() {
  return gLoaded && !HighContrast() ? &*gLoaded : nullptr;
}

void StyleManager::Reset() {
  gLoaded.reset();
}

bool StyleManager::HighContrast() {
  if (gHighContrastOverride) return *gHighContrastOverride;
  if (!gHighContrast) {
    HIGHCONTRASTW info{sizeof(info)};
    gHighContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(info), &info, 0) &&
                    (info.dwFlags & HCF_HIGHCONTRASTON);
  }
  return *gHighContrast;
}

void StyleManager::SettingsChanged() {
  gHighContrast.reset();
}

void StyleManager::OverrideHighContrast(std::optional<bool> on) {
  gHighContrastOverride = on;
}

COLORREF FaceColour() {
  const TStyleSheet* style = StyleManager::Active();
  return style ? Rgb(style->Face) : GetSysColor(COLOR_BTNFACE);
}

COLORREF FaceTextColour() {
  const TStyleSheet* style = StyleManager::Active();
  return style ? Rgb(style->FaceText) : GetSysColor(COLOR_BTNTEXT);
}

HBRUSH SolidBrush(COLORREF colour) {
  static std::map<COLORREF, UniqueBrush> brushes;
  auto& slot = brushes[colour];
  if (!slot) slot.Reset(CreateSolidBrush(colour));
  return slot.Get();
}

HBRUSH FaceBrush() {
  return StyleManager::Active() ? SolidBrush(FaceColour()) : GetSysColorBrush(COLOR_BTNFACE);
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
  const TStyleSheet* style = StyleManager::Active();
  if (!style) {
    RECT r = rect;
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    return;
  }
  const RECT top{rect.left, rect.top, rect.right, rect.top + 1};
  const RECT left{rect.left, rect.top, rect.left + 1, rect.bottom};
  const RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
  const RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
  FillRect(dc, &top, SolidBrush(Rgb(style->EdgeLight)));
  FillRect(dc, &left, SolidBrush(Rgb(style->EdgeLight)));
  FillRect(dc, &bottom, SolidBrush(Rgb(style->EdgeDark)));
  FillRect(dc, &right, SolidBrush(Rgb(style->EdgeDark)));
}

void DrawFocusMark(HDC dc, const RECT& rect, int dpi, bool onSelection) {
  RECT r = rect;
  const TStyleSheet* style = StyleManager::Active();
  if (!style) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    DrawFocusRect(dc, &r);
    return;
  }
  const int width = std::max(1, Scale(1, dpi));
  HBRUSH brush = SolidBrush(Rgb(onSelection ? style->SelectionText : style->FocusRing));
  const RECT sides[] = {{r.left, r.top, r.right, r.top + width},
                        {r.left, r.bottom - width, r.right, r.bottom},
                        {r.left, r.top, r.left + width, r.bottom},
                        {r.right - width, r.top, r.right, r.bottom}};
  for (const RECT& side : sides)
    FillRect(dc, &side, brush);
}

namespace {
// The style's rounded, glossy body of a button.
void DrawGlossyBody(HDC dc, const RECT& r, const TStyleSheet& s, const TButtonLook& look, int dpi) {
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
} // namespace

void DrawButtonFace(HDC dc, const RECT& rect, const std::wstring& text, HFONT font,
                    const TButtonLook& look, int dpi) {
  RECT r = rect;
  const TStyleSheet* style = StyleManager::Active();
  if (!style)
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (look.Pressed ? DFCS_PUSHED : 0));
  else
    DrawGlossyBody(dc, r, *style, look, dpi);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, style ? Rgb(style->ButtonText) : GetSysColor(COLOR_BTNTEXT));
  TSelectObject selectFont(dc, font);
  RECT textRect = r;
  if (look.Pressed) OffsetRect(&textRect, 1, 1);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (look.Focused) {
    RECT focus = r;
    InflateRect(&focus, -Scale(3, dpi), -Scale(3, dpi));
    if (!style) {
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      DrawFocusRect(dc, &focus);
    } else {
      // On the dark glossy body the mark is a ring of the button's text colour.
      UniquePen ring(CreatePen(PS_SOLID, std::max(1, Scale(1, dpi)), Rgb(style->ButtonText)));
      TSelectObject pen(dc, ring.Get());
      TSelectObject brush(dc, GetStockObject(NULL_BRUSH));
      const int radius = Scale(4, dpi);
      RoundRect(dc, focus.left, focus.top, focus.right, focus.bottom, radius, radius);
    }
  }
}
