#pragma once
// The program's visual style: loaded by name from the program's resources and applied to
// every window it draws (main window, widgets, message box, error report). Without a style
// the plain system look is used.
#include "widgets/pure/StyleSheet.h"
#include <windows.h>
#include <string>

namespace StyleManager {
// Looks the style up by name (letter case ignored) among the program's resources and makes it
// the active style. When it is missing, shows "Style '%s' not found" if asked to, and returns
// false; the plain system look stays.
bool TrySetStyle(const std::wstring& name, bool showErrorDialog);
// The active style, or null for the plain system look.
const TStyleSheet* Active();
// Back to the plain system look (tests).
void Reset();
} // namespace StyleManager

// Colour from 0xRRGGBB.
inline COLORREF Rgb(unsigned rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

COLORREF FaceColour();
COLORREF FaceTextColour();
HBRUSH FaceBrush();
HBRUSH SolidBrush(COLORREF colour); // cached for the process's life

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
// The toolkit's one-pixel raised edge, drawn inside rect.
void DrawRaisedEdge(HDC dc, const RECT& rect);

struct TButtonLook {
  bool Hot = false;
  bool Pressed = false;
  bool Focused = false;
  bool Default = false;
};
// A push button face with its text centred; in the style's colours when a style is active.
void DrawButtonFace(HDC dc, const RECT& rect, const std::wstring& text, HFONT font,
                    const TButtonLook& look, int dpi);
