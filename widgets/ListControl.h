#pragma once
// What the folder list and the file list share: an owner-drawn list box with fixed 18-pixel
// rows (at 96 dpi), the parent's face colour, and the row texts as item strings (so readers
// of the window tree and tests see them).
#include "widgets/Control.h"
#include <string>
#include <vector>

class TListControl : public TControl {
public:
  std::vector<std::wstring> Items() const;
  std::wstring ItemText(int index) const;
  int ItemIndex() const;
  void ApplyDpi(int dpi) override;

protected:
  static constexpr int kItemHeight = 18;
  HWND CreateList(HWND parent, int id, const RECT& rect, DWORD extraStyle);
  void AfterCreate() override;
  // Handles the colour request; leaves WM_DRAWITEM to DrawRow.
  bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Draws one row; the base fills the background and writes the text from textLeft.
  virtual void DrawRow(const DRAWITEMSTRUCT& item, const std::wstring& text);
  void DrawRowText(const DRAWITEMSTRUCT& item, const std::wstring& text, int textLeft);
};
