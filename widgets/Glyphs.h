#pragma once
// The folder glyphs carried as bitmap resources ("OPENFOLDER", "CURRENTFOLDER",
// "CLOSEDFOLDER", each with a "_2X" twin for high DPI), 32-bit premultiplied alpha.
#include <windows.h>

// The glyph's size on screen at the DPI (16 x 14 at 96 dpi).
SIZE GlyphSize(int dpi);
// Draws the named glyph with its top-left corner at (left, top); nothing when the program
// carries no such resource.
void DrawGlyph(HDC dc, const wchar_t* name, int left, int top, int dpi);
