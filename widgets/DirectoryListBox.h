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
  // one ShowDirectory fell back to), which must never be mirrored from or into.
  std::wstring ChosenDirectory() const { return FChosen ? FModel.Folder() : std::wstring(); }
  // Enters the folder (it becomes the process's current folder), shows it and hands it to
  // the linked file list. Empty: nothing. The folder already shown: not read again, but it
  // counts as chosen. Raises EInOutError when the folder cannot be entered; Directory then
  // keeps its old value.
  void SetDirectory(const std::wstring& folder);
  // The same move to a folder the program fell back to: the list shows it, but holds no choice
  // until the operator moves it or SetDirectory points it somewhere.
  void ShowDirectory(const std::wstring& folder);
  // The list waits for a folder whose file server has not answered yet: it shows one row that
  // says so, holds no choice, and its file list keeps what it showed. SetDirectory or
  // ShowDirectory end the wait.
  void ShowWaiting(const std::wstring& folder);
  // The folder the list waits for; empty when it waits for none.
  const std::wstring& WaitingFor() const { return FWaitingFor; }
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
  void ReadRows() override;

private:
  void MoveTo(const std::wstring& folder);
  enum class TGlyph { Open, Current, Closed };
  struct TRow {
    std::wstring Path;
    TGlyph Glyph;
    int Indent; // at 96 dpi
  };
  TFolderModel FModel{false}; // the subfolders need no short names
  bool FChosen = false;
  std::wstring FWaitingFor;
  std::vector<TRow> FRows;
};
