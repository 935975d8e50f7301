#pragma once
// Move-only owners for Win32 handles: one template, one traits type per kind of handle
// naming its "invalid" value and its way of closing.
#include <windows.h>
#include <utility>

template <typename Traits> class TUniqueHandle {
public:
  using Type = typename Traits::Type;

  TUniqueHandle() = default;
  explicit TUniqueHandle(Type handle) noexcept : FHandle(handle) {}
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  ~TUniqueHandle() { Reset(); }

  Type Get() const noexcept { return FHandle; }
  bool Valid() const noexcept { return FHandle != Traits::Invalid(); }
  explicit operator bool() const noexcept { return Valid(); }
  // For APIs that hand a handle back through an out-parameter; closes the old one first.
  Type* Put() noexcept {
    Reset();
    return &FHandle;
  }
  Type Release() noexcept { return std::exchange(FHandle, Traits::Invalid()); }
  void Reset(Type handle = Traits::Invalid()) noexcept {
    if (FHandle != Traits::Invalid()) Traits::Close(FHandle);
    FHandle = handle;
  }

private:
  Type FHandle = Traits::Invalid();
};

// The two ways the system says "no handle": null, or INVALID_HANDLE_VALUE (-1).
template <typename T, void (*CloseFn)(T)> struct TNullInvalidTraits {
  using Type = T;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { CloseFn(h); }
};
template <void (*CloseFn)(HANDLE)> struct TMinusOneInvalidTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { CloseFn(h); }
};
// GDI objects of every kind (fonts, brushes, pens, bitmaps, regions): null means none,
// DeleteObject closes.
template <typename T> struct TGdiObjectTraits {
  using Type = T;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};

// Closing functions as plain functions (a system function's address is no template argument
// under every compiler).
namespace HandleClose {
inline void Kernel(HANDLE h) {
  ::CloseHandle(h);
}
inline void Find(HANDLE h) {
  ::FindClose(h);
}
inline void Key(HKEY h) {
  ::RegCloseKey(h);
}
inline void Icon(HICON h) {
  ::DestroyIcon(h);
}
inline void MemoryDc(HDC h) {
  ::DeleteDC(h);
}
} // namespace HandleClose

// Process, thread and event handles: null means none.
using UniqueHandle = TUniqueHandle<TNullInvalidTraits<HANDLE, HandleClose::Kernel>>;
// CreateFileW and CreateToolhelp32Snapshot answer INVALID_HANDLE_VALUE on failure.
using UniqueFileHandle = TUniqueHandle<TMinusOneInvalidTraits<HandleClose::Kernel>>;
using UniqueSnapshot = TUniqueHandle<TMinusOneInvalidTraits<HandleClose::Kernel>>;
// FindFirstFileW and FindFirstFileExW answer INVALID_HANDLE_VALUE too.
using UniqueFind = TUniqueHandle<TMinusOneInvalidTraits<HandleClose::Find>>;
using UniqueHKey = TUniqueHandle<TNullInvalidTraits<HKEY, HandleClose::Key>>;
using UniqueFont = TUniqueHandle<TGdiObjectTraits<HFONT>>;
using UniqueBrush = TUniqueHandle<TGdiObjectTraits<HBRUSH>>;
using UniquePen = TUniqueHandle<TGdiObjectTraits<HPEN>>;
using UniqueBitmap = TUniqueHandle<TGdiObjectTraits<HBITMAP>>;
using UniqueIcon = TUniqueHandle<TNullInvalidTraits<HICON, HandleClose::Icon>>;
using UniqueRegion = TUniqueHandle<TGdiObjectTraits<HRGN>>;
using UniqueMemoryDc = TUniqueHandle<TNullInvalidTraits<HDC, HandleClose::MemoryDc>>;

// Selects a GDI object into a DC for one scope and puts the old one back.
class TSelectObject {
public:
  TSelectObject(HDC dc, HGDIOBJ obj) noexcept : FDc(dc), FOld(::SelectObject(dc, obj)) {}
  ~TSelectObject() { ::SelectObject(FDc, FOld); }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

private:
  HDC FDc;
  HGDIOBJ FOld;
};

// The device context of one WM_PAINT: BeginPaint for the scope, EndPaint at its end.
class TPaintDc {
public:
  explicit TPaintDc(HWND window) noexcept : FWindow(window), FDc(::BeginPaint(window, &FPaint)) {}
  ~TPaintDc() { ::EndPaint(FWindow, &FPaint); }
  TPaintDc(const TPaintDc&) = delete;
  TPaintDc& operator=(const TPaintDc&) = delete;
  HDC Get() const noexcept { return FDc; }

private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FDc;
};

// A window's device context for one scope: its client area (GetDC; null: the screen's), or
// with Whole the whole window, frame included (GetWindowDC).
class TWindowDc {
public:
  explicit TWindowDc(HWND window) noexcept : TWindowDc(window, ::GetDC(window)) {}
  static TWindowDc Whole(HWND window) noexcept { return TWindowDc(window, ::GetWindowDC(window)); }
  ~TWindowDc() {
    if (FDc) ::ReleaseDC(FWindow, FDc);
  }
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  HDC Get() const noexcept { return FDc; }

private:
  TWindowDc(HWND window, HDC dc) noexcept : FWindow(window), FDc(dc) {}
  HWND FWindow;
  HDC FDc;
};
