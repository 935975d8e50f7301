#include "widgets/Glyphs.h"
#include "funcoes/Handles.h"
#include "widgets/Dpi.h"
#include <map>
#include <string>

namespace {
HBITMAP LoadGlyph(const std::wstring& name) {
  static std::map<std::wstring, UniqueBitmap> cache;
  auto [slot, inserted] = cache.try_emplace(name);
  if (inserted)
    slot->second.Reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name.c_str(),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return slot->second.Get();
}
} // namespace

SIZE GlyphSize(int dpi) {
  return SIZE{Scale(16, dpi), Scale(14, dpi)};
}

void DrawGlyph(HDC dc, const wchar_t* name, int left, int top, int dpi) {
  // The large picture is sharper for anything above 96 dpi.
  HBITMAP bitmap = dpi > kDesignDpi ? LoadGlyph(std::wstring(name) + L"_2X") : nullptr;
  if (!bitmap) bitmap = LoadGlyph(name);
  if (!bitmap) return;
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  TSelectObject select(source.Get(), bitmap);
  const SIZE size = GlyphSize(dpi);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  SetStretchBltMode(dc, HALFTONE);
  // gdi32's own entry (see GdiGradientFill in Style.cpp).
  GdiAlphaBlend(dc, left, top, size.cx, size.cy, source.Get(), 0, 0, info.bmWidth, info.bmHeight,
                blend);
}
