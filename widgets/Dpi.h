#pragma once
// Per-monitor DPI helpers. The newer user32 entry points are looked up at run time so the
// program still starts on systems that lack them (they then answer 96 or the system DPI).
#include "widgets/pure/DpiScale.h"
#include <windows.h>

// Opts the process into per-monitor awareness v2 when the manifest has not already done so.
void EnablePerMonitorDpiAwareness();
// The DPI of the window's monitor, or of the system when the window is null.
int DpiOf(HWND window);
// The window rectangle that gives the client size at the DPI.
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);
