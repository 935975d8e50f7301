#pragma once
// A folder list: the drive root, the folders on the way down to the current folder, then the
// current folder's subfolders. A double-click or Enter on a row opens that folder.
#include "widgets/FolderModel.h"
#include "widgets/ListControl.h"
#include <string>
#include <vector>

class TFileListBox;

class TDirectoryListBox : public TListControl {
public:
  const std::wstring& Directory() const { return FModel.Folder(); }
  // The folder the list was pointed at as a choice: empty until a SetDirectory has succeeded.
  // Until then the list only shows a folder nobody chose (the one current when it was made, or
  // one ShowDirectory fell back to), which must never be mirrored from or into. A list that
  // waits for a folder holds no choice.
  std::wstring ChosenDirectory() const {
    return FChosen && FWaitingFor.empty() ? FModel.Folder() : std::wstring();
  }
  // Shows the folder (in full form, FullFolder) and hands it to the linked file list, once the
  // folder has answered that it is there. Empty: nothing. The folder already shown: not read
  // again, but it counts as chosen. Raises EInOutError when the folder is not there; Directory
  // then keeps its old value. A folder that has not answered within kReadWaitMs (a file server
  // that does not answer) is waited for (ShowWaiting); its answer makes the move then, or is
  // reported with the list back on its old folder. The process's current folder stays as it is.
  void SetDirectory(const std::wstring& folder);
  // SetDirectory for a folder just found on the pool to be there: the list moves without asking
  // it again (on a slow server a second question would make the list wait for it).
  void SetDirectoryThatExists(const std::wstring& folder);
  // The same move to a folder the program fell back to: the list shows it, but holds no choice
  // until the operator moves it or SetDirectory points it somewhere.
  void ShowDirectory(const std::wstring& folder);
  // The list waits for a folder whose file server has not answered yet: it shows one row that
  // says so, holds no choice, and its file list keeps what it showed. SetDirectory or
  // ShowDirectory end the wait.
  void ShowWaiting(const std::wstring& folder);
  // The folder whose answer the list waits for before it shows it; empty when it waits for
  // none. Rows still being read (the folder has answered) are no such wait: a run may go.
  const std::wstring& WaitingFor() const { return FWaitingFor; }
  // Waits for a folder's answer, or for its rows.
  bool Waiting() const override { return !FWaitingFor.empty() || ReadLate(); }
  // The file list that follows this list's folder.
  TFileListBox* FileList = nullptr;
  // Opens the folder of a row, as a double-click or Enter does. The row of the folder already
  // shown opens nothing and chooses nothing: on a list the window's show could not point at its
  // folder, that row is the start-up folder, which the operator never picked.
  void OpenRow(int index);
  // Number of times a read of this list listed the folder itself rather than taking the
  // listing its file list had already made of the same move.
  int ListingCount() const { return FModel.ListingCount(); }

protected:
  void AfterCreate() override;
  bool OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void DrawRow(const DRAWITEMSTRUCT& item, const std::wstring& text) override;
  TRead PrepareRead() override;

private:
  enum class TGlyph { Open, Current, Closed };
  struct TRow {
    std::wstring Path;
    TGlyph Glyph;
    int Indent; // at 96 dpi
  };
  // One read's rows, made on the pool.
  struct TFolderRows {
    std::vector<TRow> Rows;
    std::vector<std::wstring> Texts;
    int Current = -1;    // the row of the folder itself
    bool Listed = false; // the read made its listing
  };
  static TFolderRows FolderRows(const std::wstring& folder, const TFolderModel::TSource& source,
                                LCID locale);
  void ShowRows(TFolderRows& rows);
  void ShowWaitingRow(const std::wstring& folder);
  void MoveTo(const std::wstring& folder, bool chosen);
  void Enter(const std::wstring& folder, bool chosen);
  void EndWait();
  TFolderModel FModel{false}; // the subfolders need no short names
  bool FChosen = false;
  std::wstring FWaitingFor;     // the folder a move waits for
  unsigned FMoveGeneration = 0; // a late answer of an older move is dropped
  std::vector<TRow> FRows;
};
