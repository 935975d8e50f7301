#pragma once
// Base of every widget: a window handle owned by the object, bounds at 96 dpi scaled to the
// window's DPI, a font, and notifications reflected from the parent to the child's object.
//
// A widget is one of two kinds, and its base class says which:
// - TOwnWindow: a window of one of the program's own classes (TForm, TPanel, TGauge, the
//   message box). Every message goes to WndProc; Paint draws its client area.
// - TSystemControl: a system control (button, tick box, label, edit, list box), subclassed.
//   Every message goes to SubclassProc, which passes what it leaves to DefaultProc, the
//   system's own procedure. Most change how the control behaves: TButton (Enter presses it),
//   the lists (rows read when first looked at; in TDirectoryListBox Enter opens a folder),
//   TMemo (leaves Esc, Enter and Tab to the window, Ctrl+A, its focus mark); TLabel and
//   TCheckBox keep the system's behaviour and are subclassed only for the handle's lifetime.
// A widget names its window's class, text and styles in WindowArgs; its kind makes the window.
// Both kinds have the same handle lifetime: Handle() is the window from Create until that window
// is destroyed (by the object's destructor or with its parent), and null afterwards.
#include "widgets/pure/Bounds.h"
#include <windows.h>
#include <string>
#include <vector>

struct TFontSpec {
  std::wstring Face = L"Tahoma";
  int Points = 8;
};

// What CreateWindowExW is given. A widget fills in the class, text and styles; the parent, the
// child identifier and the rectangle (pixels, in the parent's client area; on the screen for a
// top-level window, whose Parent is its owner) are added by whoever creates it.
struct TWindowArgs {
  const wchar_t* ClassName = L"";
  std::wstring Text;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  HWND Parent = nullptr;
  int Id = 0;
  RECT Rect{};
};

// Makes a window of a system class (or any class registered elsewhere) from args. Null on
// failure, with the reason in GetLastError.
HWND CreateSystemControl(const TWindowArgs& args);

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

  // Creates the window as the last child of parent (creation order is the tab order), at the
  // bounds scaled to the parent's DPI. Raises when the window cannot be made.
  void Create(TControl& parent);
  // The same at rect, in pixels at the parent's DPI, for a control laid out in pixels by a
  // parent that is never rescaled (the message box); its bounds stay unset.
  void Create(TControl& parent, const RECT& rect);
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
  // The class, text and styles of the widget's window.
  virtual TWindowArgs WindowArgs() const = 0;
  // Called once the handle exists.
  virtual void AfterCreate() {}
  RECT ScaledRect() const;
  const std::vector<TControl*>& Children() const { return FChildren; }

  int FDpi = 96;

private:
  friend class TOwnWindow;
  friend class TSystemControl;
  // Makes the window from args and attaches it to this object; each kind does it its way.
  virtual HWND CreateHandle(const TWindowArgs& args) = 0;
  void Attach(HWND window);
  void Detach();
  HWND FHandle = nullptr;
  TControl* FParent = nullptr;
  std::vector<TControl*> FChildren;
  TBounds FBounds;
  TFontSpec FFont;
  bool FOwnFont = false;
};

// A window of one of the program's own classes, registered on first use with the class name
// of WindowArgs.
class TOwnWindow : public TControl {
protected:
  // Every message of the window: notifications reflected to the children, painting through
  // Paint, the face colour for child controls; the rest to DefWindowProcW.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Draws the whole client area; by default its face.
  virtual void Paint(HDC dc, const RECT& client);
  // Makes the window from WindowArgs as a top-level window (a form, the message box) at rect on
  // the screen, owned by owner (null: none). Raises when it cannot be made.
  void CreateTopLevel(HWND owner, const RECT& rect);

private:
  HWND CreateHandle(const TWindowArgs& args) final;
  // Routes a parent notification to the child it is about.
  static bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  static LRESULT CALLBACK ClassProc(HWND, UINT, WPARAM, LPARAM) noexcept;
};

// A system control whose window procedure is replaced by SubclassProc while the object has it.
class TSystemControl : public TControl {
public:
  ~TSystemControl() override;

protected:
  // Every message of the control; by default the system's handling.
  virtual LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The system's own procedure of the control.
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
  HWND CreateHandle(const TWindowArgs& args) final;
  void Subclass();
  void Unsubclass();
  static LRESULT CALLBACK SubclassThunk(HWND, UINT, WPARAM, LPARAM) noexcept;
  WNDPROC FSystemProc = nullptr; // while subclassed
};

// A cached font of that face and size at the DPI; lives until the process ends.
HFONT CachedFont(const TFontSpec& font, int dpi, bool antialiased = true);
