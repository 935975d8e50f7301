#pragma once
// Where the parts of the program's message box go: the icon (when there is one) and the text
// side by side under a margin, the "OK" button centred below them. All in pixels of the box's
// client area at its DPI; the margins and the button are 96-dpi lengths scaled to it.
#include "widgets/pure/Bounds.h"

struct TMessageBoxLayout {
  int ClientWidth = 0, ClientHeight = 0;
  TBounds Icon; // empty when the box has no icon
  TBounds Text;
  TBounds Button;
};

// textWidth and textHeight: the text as measured, word-wrapped, in the box's font; iconSize: the
// icon's side in pixels, 0 for none. The text gets at least 120 pixels (at 96 dpi) of width and
// the icon's height.
TMessageBoxLayout MessageBoxLayout(int textWidth, int textHeight, int iconSize, int dpi);

// A window of width × height placed at the centre of the work area (which it may overhang).
TBounds CentreInWorkArea(const TBounds& work, int width, int height);
