#pragma once
// Lengths are laid out at 96 dpi and drawn at the window's DPI.

constexpr int kDesignDpi = 96;

// A 96-dpi length at the DPI, rounded to the nearest pixel with halves away from zero, as
// MulDiv(value, dpi, 96) answers.
constexpr int Scale(int value, int dpi) {
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = kDesignDpi / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / kDesignDpi);
}
