#pragma once
// What the folder list and the file list share: an owner-drawn list box with fixed 18-pixel
// rows (at 96 dpi), the parent's face colour, and the row texts as item strings (so readers
// of the window tree and tests see them).
//
// Rows come from a folder on disk. While the list is on screen a change reads the folder at
// once; while it is not (the window is still being set up), the read waits until someone looks
// at the rows: a request to the list box (its items, its selection, from this process or
// another), a paint, input, or the form showing. A list set up step by step before the window
// appears reads its folder once, not once per step.
#include "widgets/AccessibleOwner.h"
#include "widgets/Control.h"
#include <string>
#include <utility>
#include <vector>

class TListControl : public TSystemControl {
public:
  TListControl();
  ~TListControl() override;
  // The name a screen reader gives the list (a list box has no text of its own, and the
  // system names it after a label before it, which ours lack). Empty: the system's object.
  void SetAccessibleName(std::wstring name) { FAccessibleName = std::move(name); }
  std::vector<std::wstring> Items() const;
  std::wstring ItemText(int index) const;
  int ItemIndex() const;
  void ApplyDpi(int dpi) override;
  void CatchUp() override;

protected:
  static constexpr int kItemHeight = 18;
  TWindowArgs WindowArgs() const override;
  void AfterCreate() override;
  LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // The rows no longer match the folder: read now when on screen (and raise as ReadRows does),
  // else when next looked at.
  void RowsChanged();
  // Fills the rows from the folder. May raise (a folder that cannot be entered).
  virtual void ReadRows() = 0;
  // Reads the rows if a change is waiting. May raise, as ReadRows.
  void ReadPendingRows();
  // Handles the colour request; leaves WM_DRAWITEM to DrawRow.
  bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Draws one row; the base fills the background and writes the text from textLeft.
  virtual void DrawRow(const DRAWITEMSTRUCT& item, const std::wstring& text);
  void DrawRowText(const DRAWITEMSTRUCT& item, const std::wstring& text, int textLeft);

private:
  bool FRowsPending = false;
  std::wstring FAccessibleName;
  TAccessibleOwner FAccessible; // the system's object named FAccessibleName
};
