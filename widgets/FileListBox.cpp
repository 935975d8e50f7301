#include "widgets/FileListBox.h"
#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/LongPath.h"
#include "widgets/FolderAccess.h"
#include "widgets/pure/FolderRows.h"

HWND TFileListBox::CreateWnd(HWND parent, int id, const RECT& r) {
  return CreateList(parent, id, r, LBS_SORT | LBS_EXTENDEDSEL);
}

void TFileListBox::AfterCreate() {
  TListControl::AfterCreate();
  // A new list shows the process's current folder.
  FDirectory = CurrentFolder();
  RowsChanged();
}

void TFileListBox::SetDirectory(const std::wstring& folder) {
  if (SameFolder(folder, FDirectory)) return;
  EnterFolder(folder);
  FDirectory = folder;
  RowsChanged();
}

void TFileListBox::SetMask(const std::wstring& mask) {
  if (mask == FMask) return;
  FMask = mask;
  RowsChanged();
}

void TFileListBox::ReadRows() {
  ++FReads;
  EnterFolder(FDirectory);
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  for (const std::wstring& pattern : SplitMask(FMask)) {
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileExW(LongPathForm(JoinFolder(FDirectory, pattern)).c_str(),
                                     FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!find) continue;
    do {
      if (entry.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        continue;
      SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.cFileName));
    } while (FindNextFileW(find.Get(), &entry));
  }
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}
