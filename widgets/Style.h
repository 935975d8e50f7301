#pragma once
// The program's visual style: loaded by name from the program's resources and applied to
// every window it draws (main window, widgets, message box, error report). Without a style
// the plain system look is used.
#include "widgets/pure/StyleSheet.h"
#include <windows.h>
#include <optional>
#include <string>

namespace StyleManager {
// Looks the style up by name (letter case ignored) among the program's resources and makes it
// the active style. When it is missing, shows "Style '%s' not found" if asked to, and returns
// false; the plain system look stays.
bool TrySetStyle(const std::wstring& name, bool showErrorDialog);
// The style to draw with, or null for the plain system look. Null also while the system's
// high-contrast mode is on: then everything is drawn in the system's colours, as the system's
// own controls are.
const TStyleSheet* Active();
// The loaded style, high contrast or not.
const TStyleSheet* Loaded();
// Back to the plain system look (tests).
void Reset();
// Whether the system's high-contrast mode is on, as the system last said.
bool HighContrast();
// The system's settings or colours changed (WM_SETTINGCHANGE, WM_SYSCOLORCHANGE): the mode is
// asked again at the next drawing.
void SettingsChanged();
// Replaces the system's answer (tests: the high-contrast mode cannot be turned on everywhere);
// std::nullopt asks the system again.
void OverrideHighContrast(std::optional<bool> on);
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
// The keyboard-focus mark: a ring of the style's focus colour (of its selection text colour on
// a highlighted row) just inside rect; the system's dotted focus rectangle without a style.
void DrawFocusMark(HDC dc, const RECT& rect, int dpi, bool onSelection = false);

struct TButtonLook {
  bool Hot = false;
  bool Pressed = false;
  bool Focused = false;
  bool Default = false;
};
// A push button face with its text centred; in the style's colours when a style is active.
void DrawButtonFace(HDC dc, const RECT& rect, const std::wstring& text, HFONT font,
                    const TButtonLook& look, int dpi);
