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
//
// A read lists its folder on the pool: a folder on a file server may take seconds, or not
// answer at all. The window waits kReadWaitMs for the answer (a folder on a disk answers well
// within it, and its rows show as if read at once); past that the list shows that it waits, and
// its rows show when the answer comes, unless a later change has made it stale.
#include "widgets/AccessibleOwner.h"
#include "widgets/Control.h"
#include <functional>
#include <memory>
#include <string>
#include <string_view>
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
  // Whether the rows wait for an answer (a read past the window's wait).
  virtual bool Waiting() const { return ReadLate(); }
  // The longest the window waits for a read's answer before the list shows that it waits.
  static constexpr unsigned kReadWaitMs = 40;

protected:
  static constexpr int kItemHeight = 18;
  TWindowArgs WindowArgs() const override;
  void AfterCreate() override;
  LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // The rows no longer match the folder: read now when on screen (and raise as a read does),
  // else when next looked at.
  void RowsChanged();
  // One read of the rows. Work runs on the pool and touches no window and no widget; the show
  // it answers runs on the window's thread, and may raise (a folder that cannot be opened).
  using TShowRows = std::function<void()>;
  struct TRead {
    std::function<TShowRows()> Work; // empty: nothing to list, the rows are shown already
    unsigned WaitMs = kReadWaitMs;
    std::function<void()> Late; // when Work has not answered within WaitMs
  };
  // Starts a read on the window's thread. May raise.
  virtual TRead PrepareRead() = 0;
  // Reads the rows if a change is waiting. May raise, as a read's show.
  void ReadPendingRows();
  // A read has not answered within its wait, or its rows are still being added.
  bool ReadLate() const { return FReadLate || FFilling; }
  // The locale the list box orders names in.
  LCID RowLocale() const;
  // Lets a late answer of the list's own work see whether the list is still there.
  std::weak_ptr<char> Alive() const { return FAlive; }
  // Replaces the rows with texts, in their order; selected: the row to highlight (-1: none).
  // The texts point into what keep holds, each followed by a NUL there. A big folder's rows are
  // added in steps, with the window answering between them; the list waits until the last.
  void FillRows(std::vector<std::wstring_view> texts, int selected,
                std::shared_ptr<const void> keep = nullptr);
  // Handles the colour request; leaves WM_DRAWITEM to DrawRow.
  bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Draws one row; the base fills the background and writes the text from textLeft.
  virtual void DrawRow(const DRAWITEMSTRUCT& item, const std::wstring& text);
  void DrawRowText(const DRAWITEMSTRUCT& item, const std::wstring& text, int textLeft);

private:
  // Rows added per step of a fill: a step takes some tens of milliseconds under load.
  static constexpr size_t kRowsPerStep = 16384;
  struct TFill;
  void AddRows(const std::shared_ptr<TFill>& fill);
  bool FRowsPending = false;
  bool FReadLate = false;
  bool FFilling = false;
  unsigned FReadGeneration = 0; // a late answer of an older read is dropped
  unsigned FFillGeneration = 0; // the steps still to come of an older fill are dropped
  std::shared_ptr<char> FAlive = std::make_shared<char>(); // a late answer after the list is gone
  std::wstring FAccessibleName;
  TAccessibleOwner FAccessible; // the system's object named FAccessibleName
};
