// With the system's high-contrast mode on, the main window is drawn in the system's colours
// instead of the "Glossy" style's, and the style returns when the mode goes off. Wine always
// answers that the mode is off, so the test answers in the system's place and gives this process
// a high-contrast palette. With REPLIMAR_SCREENSHOT_DIR set, the window's picture in high
// contrast is written there as highcontrast.bmp.
#include "WinTestSupport.h"
#include "funcoes/Handles.h"
#include "tests/TestPrefix.h"
#include "ui/UFrmReplimar.h"
#include "widgets/Style.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using wintest::Narrow;
using wintest::TTempTree;

// The "High Contrast Black" palette, for this process while the object lives.
class THighContrastPalette {
public:
  THighContrastPalette() {
    for (size_t i = 0; i < kCount; ++i)
      FSaved[i] = GetSysColor(kElements[i]);
    SetSysColors(static_cast<int>(kCount), kElements, kPalette);
    StyleManager::OverrideHighContrast(true);
  }
  ~THighContrastPalette() {
    StyleManager::OverrideHighContrast(std::nullopt);
    SetSysColors(static_cast<int>(kCount), kElements, FSaved);
  }
  THighContrastPalette(const THighContrastPalette&) = delete;
  THighContrastPalette& operator=(const THighContrastPalette&) = delete;

  static bool InPalette(COLORREF colour) {
    for (COLORREF c : kPalette)
      if (c == colour) return true;
    return false;
  }

private:
  static constexpr size_t kCount = 12;
  static constexpr INT kElements[kCount] = {
      COLOR_BTNFACE,   COLOR_BTNTEXT,       COLOR_WINDOW,   COLOR_WINDOWTEXT,
      COLOR_3DLIGHT,   COLOR_3DHIGHLIGHT,   COLOR_3DSHADOW, COLOR_3DDKSHADOW,
      COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT, COLOR_WINDOWFRAME};
  static constexpr COLORREF kPalette[kCount] = {
      RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),       RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(26, 235, 255),  RGB(0, 0, 0),       RGB(63, 242, 63),   RGB(255, 255, 255)};
  COLORREF FSaved[kCount] = {};
};

// The style loaded for the test, and unloaded again for the tests after it.
class TLoadedStyle {
public:
  TLoadedStyle() { FLoaded = StyleManager::TrySetStyle(L"Glossy", false); }
  ~TLoadedStyle() { StyleManager::Reset(); }
  TLoadedStyle(const TLoadedStyle&) = delete;
  TLoadedStyle& operator=(const TLoadedStyle&) = delete;
  bool Loaded() const { return FLoaded; }

private:
  bool FLoaded = false;
};

// The window's client area as the screen shows it, one COLORREF per pixel, row by row.
struct TPicture {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
};

TPicture Capture(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  TPicture picture;
  picture.Width = client.right - client.left;
  picture.Height = client.bottom - client.top;
  const TWindowDc screen(nullptr);
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.Width;
  info.bmiHeader.biHeight = -picture.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const UniqueBitmap bitmap(
      CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const TSelectObject select(memory.Get(), bitmap.Get());
  BitBlt(memory.Get(), 0, 0, picture.Width, picture.Height, screen.Get(), client.left, client.top,
         SRCCOPY);
  GdiFlush();
  const auto* quads = static_cast<const RGBQUAD*>(bits);
  for (int i = 0; i < picture.Width * picture.Height; ++i)
    picture.Pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
  return picture;
}

// A 24-bit bottom-up BMP file of the picture.
void Save(const TPicture& picture, const std::wstring& path) {
  const int stride = (picture.Width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = picture.Width;
  header.biHeight = picture.Height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = static_cast<DWORD>(stride * picture.Height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(nullptr, out) << Narrow(path);
  fwrite(&file, sizeof(file), 1, out);
  fwrite(&header, sizeof(header), 1, out);
  std::vector<BYTE> row(static_cast<size_t>(stride), 0);
  for (int y = picture.Height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.Width; ++x) {
      const COLORREF c = picture.At(x, y);
      row[static_cast<size_t>(x * 3)] = GetBValue(c);
      row[static_cast<size_t>(x * 3 + 1)] = GetGValue(c);
      row[static_cast<size_t>(x * 3 + 2)] = GetRValue(c);
    }
    fwrite(row.data(), 1, row.size(), out);
  }
  fclose(out);
}

// The deep blue of the style's buttons (blue well above red and green), outside the folder
// lists, whose glyphs keep their colours in any mode.
size_t GlossyBluePixels(const TPicture& picture) {
  size_t n = 0;
  for (int y = 0; y < picture.Height; ++y) {
    if (y >= 42 && y < 145) continue;
    for (int x = 0; x < picture.Width; ++x) {
      const COLORREF c = picture.At(x, y);
      n += GetBValue(c) > 120 && GetBValue(c) > GetRValue(c) + 80 &&
           GetBValue(c) > GetGValue(c) + 40;
    }
  }
  return n;
}

size_t PalettePixels(const TPicture& picture) {
  size_t n = 0;
  for (COLORREF c : picture.Pixels)
    n += THighContrastPalette::InPalette(c);
  return n;
}

TEST(HighContrast, TheMainWindowDrawsInTheSystemColoursAndTheStyleReturnsAfter) {
  // SetSysColors repaints every program of the session and outlives a killed test: only in the
  // test prefix.
  REPLIMAR_REQUIRE_TEST_PREFIX();
  TLoadedStyle style;
  ASSERT_TRUE(style.Loaded()) << "the test program carries the style";
  TTempTree tree(L"contrast");
  tree.Folder(L"clientes");
  tree.Folder(L"projetos");
  tree.File(L"abertura.mp4", "x");
  tree.File(L"roteiro.xml", "x");

  TFrmReplimar form;
  form.DirectoryListOrigem.SetDirectory(tree.Root());
  form.DirectoryListBoxdestino.SetDirectory(tree.Root());
  form.MemoLog.AddLine(L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...");
  form.MemoLog.AddLine(L"Comando: robocopy \"" + tree.Root() + L"\" \"C:\\TMP\" /MIR /MON:1");
  form.GaugeProgresso.SetMaxValue(3);
  form.GaugeProgresso.SetProgress(2);
  SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(form.Handle());
  SetFocus(form.BtnSyncNow.Handle());
  SendMessageW(form.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);

  const TPicture styled = Capture(form.Handle());
  ASSERT_GT(GlossyBluePixels(styled), 1000u) << "the style's buttons are drawn";

  {
    THighContrastPalette palette;
    SendMessageW(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    const TPicture contrast = Capture(form.Handle());
    wchar_t folder[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"REPLIMAR_SCREENSHOT_DIR", folder, MAX_PATH))
      Save(contrast, std::wstring(folder) + L"\\highcontrast.bmp");

    EXPECT_EQ(0u, GlossyBluePixels(contrast)) << "no pixel of the style's buttons is left";
    // Faces, lists, the gauge, the log pane and text: the palette's colours, but for the
    // smoothing of text and the folder glyphs.
    EXPECT_GT(PalettePixels(contrast), contrast.Pixels.size() * 95 / 100);
    // The face between the widgets, the header strip and a button's body.
    const int buttonBodyX = form.BtnSyncNow.Bounds().Left + 4;
    const int buttonBodyY = form.BtnSyncNow.Bounds().Top + 4;
    for (const POINT p : {POINT{700, 310}, POINT{300, 4}, POINT{buttonBodyX, buttonBodyY}})
      EXPECT_EQ(RGB(0, 0, 0), contrast.At(p.x, p.y)) << "at " << p.x << "," << p.y;
  }

  SendMessageW(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
  const TPicture again = Capture(form.Handle());
  EXPECT_GT(GlossyBluePixels(again), 1000u) << "the style is back once the mode is off";
  EXPECT_EQ(styled.At(700, 310), again.At(700, 310));
}

} // namespace
