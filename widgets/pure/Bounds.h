#pragma once
// A rectangle as its top-left corner and its size: a widget's bounds (at 96 dpi), or a part of
// the message box (in pixels at its DPI).
struct TBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TBounds&) const = default;
};
