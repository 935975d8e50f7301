#pragma once
// A top-level window built from a layout: fixed single border, minimise and close, the
// button-face colour, centred on the primary screen when first shown, rescaled on DPI change.
// It has no default or cancel button: Enter and Esc do nothing unless a widget takes them.
#include "funcoes/Handles.h"
#include "widgets/Control.h"
#include <functional>

class TForm : public TOwnWindow {
public:
  TForm();
  ~TForm() override;

  // Creates the top-level window; widgets are created afterwards with Create(*this).
  void CreateForm(const std::wstring& className, const std::wstring& caption, int clientWidth,
                  int clientHeight, const TFontSpec& font);
  // Runs OnShow, lets the widgets catch up, places the window at the centre of the primary
  // screen, makes it visible.
  void Show();
  // The title-bar and taskbar icon, from an icon resource of the program (sized for the DPI).
  void SetIcon(const wchar_t* resourceName);

  // OnShow runs before the window is placed and becomes visible.
  std::function<void()> OnShow;
  // OnCloseQuery may set its argument to false to refuse the close.
  std::function<void(bool& canClose)> OnCloseQuery;

protected:
  TWindowArgs WindowArgs() const override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  // The window rectangle around the client area at the DPI, at the screen's origin.
  RECT FrameRect(int dpi) const;
  void Close();
  void OnDpiChanged(int dpi, const RECT& suggested);
  // Tab and Shift+Tab (and the log pane's own requests): the next or previous tab stop, round
  // the whole window; or the given widget.
  void FocusNext(WPARAM wParam, LPARAM lParam);
  // On activation the focus goes back to the widget that had it, or to the first tab stop.
  void OnActivate(WPARAM wParam);
  // High contrast turned on or off, or system colours changed: everything is drawn again.
  void OnColoursChanged(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND FLastFocus = nullptr;

  std::wstring FClassName;
  std::wstring FCaption;
  int FClientWidth = 0;
  int FClientHeight = 0;
  bool FShown = false;
  UniqueIcon FBigIcon, FSmallIcon;
};
