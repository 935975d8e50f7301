#pragma once
// Base of every widget: a window handle owned by the object, bounds at 96 dpi scaled to the
// window's DPI, a font, and notifications reflected from the parent to the child's object.
//
// Widgets come in three kinds:
// - the program's own window classes (CreateOwnWindow): TForm, TPanel, TGauge and the message
//   box; every message goes to WndProc;
// - subclassed system controls, whose SubclassProc changes how the control behaves: TButton
//   (Enter presses it), the lists (rows read when first looked at; in TDirectoryListBox Enter
//   opens a folder), TMemo (leaves Esc, Enter and Tab to the window, Ctrl+A, its focus mark);
// - plain system controls, which keep the system's behaviour: TLabel, TCheckBox.
// Every kind has the same handle lifetime: Handle() is the window from Create until that window
// is destroyed (by the object's destructor or with its parent), and null afterwards. System
// controls of either kind are subclassed by Create for that reason alone.
#include <windows.h>
#include <string>
#include <vector>

struct TBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct TFontSpec {
  std::wstring Face = L"Tahoma";
  int Points = 8;
};

class TControl {
public:
  TControl() = default;
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  HWND Handle() const { return FHandle; }
  TControl* Parent() const { return FParent; }
  static TControl* FromHandle(HWND window);

  // Bounds at 96 dpi, relative to the parent's client area.
  void SetBounds(const TBounds& bounds);
  const TBounds& Bounds() const { return FBounds; }
  // A font of its own; without one the control uses its parent's.
  void SetFont(const TFontSpec& font);
  const TFontSpec& Font() const;
  HFONT FontHandle() const;
  int Dpi() const { return FDpi; }

  // Creates the window as the last child of parent (creation order is the tab order).
  void Create(TControl& parent);
  // Moves and re-fonts the control, then its children, for the DPI.
  virtual void ApplyDpi(int dpi);
  // Does the work that waited for the window to be seen (a list's reading of its folder), for
  // the control and then its children. The form calls it before it first becomes visible. May
  // raise.
  virtual void CatchUp();
  // A notification sent to the parent about this control (WM_COMMAND, WM_DRAWITEM,
  // WM_CTLCOLOR...). Returns true when handled.
  virtual bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Paints this control's face behind a child, so children with see-through parts blend in.
  // rect is in this control's client coordinates.
  virtual void PaintBackground(HDC dc, const RECT& rect);
  // Fills rect of this control (client coordinates) with what its parent shows there.
  void PaintParentBackground(HDC dc, const RECT& rect);

protected:
  // Makes the window; id is the child identifier.
  virtual HWND CreateWnd(HWND parent, int id, const RECT& rect) = 0;
  // Called once the handle exists.
  virtual void AfterCreate() {}
  // Messages of a system control (Create subclasses every one).
  virtual LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Messages of the program's own window classes (made by CreateOwnWindow): notifications
  // reflected to their children, painting through Paint, the face colour for child controls.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Draws the whole client area of an own-class window; by default its face.
  virtual void Paint(HDC dc, const RECT& client);
  // Creates a window of one of the program's own classes, attached to this object.
  HWND CreateOwnWindow(const wchar_t* className, DWORD exStyle, const wchar_t* text, DWORD style,
                       HWND parent, int id, const RECT& rect);
  // Routes a parent notification to the child it is about.
  static bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  RECT ScaledRect() const;
  const std::vector<TControl*>& Children() const { return FChildren; }

  int FDpi = 96;

private:
  void Subclass();
  void Unsubclass();
  static LRESULT CALLBACK SubclassThunk(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK OwnClassProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND window);
  void Detach();
  HWND FHandle = nullptr;
  WNDPROC FSystemProc = nullptr; // a system control's own procedure, while subclassed
  TControl* FParent = nullptr;
  std::vector<TControl*> FChildren;
  TBounds FBounds;
  TFontSpec FFont;
  bool FOwnFont = false;
};

// A cached font of that face and size at the DPI; lives until the process ends.
HFONT CachedFont(const TFontSpec& font, int dpi, bool antialiased = true);
