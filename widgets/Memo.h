#pragma once
// The log pane: a read-only multi-line edit with a vertical scroll bar and no word wrap. It
// holds its text as lines, each followed by a line break. From the keyboard it selects (Ctrl+A,
// Shift with the arrows) and copies (Ctrl+C, Ctrl+Insert); Esc, Enter and Tab belong to the
// window, as in any other widget (a multi-line edit would otherwise take them all, and close
// the window on Esc).
#include "widgets/AccessibleOwner.h"
#include "widgets/Control.h"
#include <string>

class TMemo : public TSystemControl {
public:
  TMemo();
  ~TMemo() override;
  // Appends text and a line break; the caret ends at the start of the empty line after it.
  void AddLine(const std::wstring& text);
  // Number of lines, not counting the empty line after the final break.
  int LineCount() const;
  std::wstring Line(int index) const;
  // Replaces the text of line index and keeps its line break.
  void ReplaceLine(int index, const std::wstring& text);
  void Clear();
  std::wstring Text() const;
  // EM_SCROLLCARET: brings the caret into view.
  void ScrollCaret();
  bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
  TWindowArgs WindowArgs() const override;
  void AfterCreate() override;
  LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  // The focus mark, drawn over the sunken edge while the pane has the focus.
  void PaintFocusEdge();

  // The system's edit object named "Log".
  TAccessibleOwner FAccessible;
};
