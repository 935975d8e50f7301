#include "widgets/DirectoryListBox.h"
#include "funcoes/Folders.h"
#include "funcoes/pure/PathText.h"
#include "widgets/Application.h"
#include "widgets/Dpi.h"
#include "widgets/FileListBox.h"
#include "widgets/FolderListing.h"
#include "widgets/Glyphs.h"
#include <algorithm>
#include <map>

namespace {
// The one row of a list waiting for a file server.
std::wstring WaitingRowText(const std::wstring& folder) {
  return L"Aguardando resposta de " + folder + L"...";
}

// Subfolders of a listed folder, without hidden and system ones (the listing leaves those
// out), sorted as the user's locale sorts names, letter case ignored.
std::vector<std::wstring> Subfolders(const std::vector<TFolderEntry>& entries) {
  std::vector<std::wstring> names;
  for (const TFolderEntry& entry : entries)
    if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) names.emplace_back(entry.Name);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                           static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                           nullptr, nullptr, 0) == CSTR_LESS_THAN;
  });
  return names;
}

// On a volume that neither keeps nor tells apart letter case, names show in small letters.
// Asked once per root: the answer does not change while the volume is mounted.
bool VolumeLowersNames(const std::wstring& root) {
  static std::map<std::wstring, bool> known;
  const auto found = known.find(root);
  if (found != known.end()) return found->second;
  DWORD flags = 0;
  const bool lowers =
      GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
      !(flags & (FILE_CASE_PRESERVED_NAMES | FILE_CASE_SENSITIVE_SEARCH));
  known.emplace(root, lowers);
  return lowers;
}
} // namespace

void TDirectoryListBox::AfterCreate() {
  TListControl::AfterCreate();
  FModel.Show(CurrentFolder());
  RowsChanged();
}

void TDirectoryListBox::SetDirectory(const std::wstring& folder) {
  if (folder.empty()) return;
  MoveTo(folder);
  FChosen = true;
}

void TDirectoryListBox::ShowDirectory(const std::wstring& folder) {
  if (folder.empty()) return;
  MoveTo(folder);
  FChosen = false;
}

void TDirectoryListBox::ShowWaiting(const std::wstring& folder) {
  FWaitingFor = folder;
  FChosen = false;
  RowsChanged();
}

void TDirectoryListBox::MoveTo(const std::wstring& folder) {
  if (!FWaitingFor.empty()) {
    // The rows show the wait: they are read again whatever the folder.
    FWaitingFor.clear();
    RowsChanged();
  }
  if (SameFolder(folder, FModel.Folder())) return;
  // One listing for this list's rows and its file list's: whichever reads first makes it.
  std::shared_ptr<TFolderModel::TShared> listing =
      FModel.Lead(EnterFolder(folder), FileList != nullptr);
  RowsChanged();
  if (FileList) FileList->FollowDirectory(FModel.Folder(), std::move(listing));
}

void TDirectoryListBox::ReadRows() {
  const std::wstring& folder = FModel.Folder();
  FRows.clear();
  if (!FWaitingFor.empty()) {
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    const std::wstring text = WaitingRowText(FWaitingFor);
    SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(Handle(), LB_SETCURSEL, 0, 0);
    return;
  }
  const std::vector<TPathRow> path = PathRows(folder);
  std::vector<std::wstring> texts;
  for (size_t i = 0; i < path.size(); ++i) {
    const bool current = i + 1 == path.size();
    FRows.push_back(
        {path[i].Path, current ? TGlyph::Current : TGlyph::Open, 2 + 4 * static_cast<int>(i)});
    texts.push_back(path[i].Name);
  }
  const int subIndent = 6 + 4 * CountBackslashes(folder);
  const bool lower = !path.empty() && VolumeLowersNames(path.front().Path);
  const std::vector<std::wstring> subfolders = Subfolders(FModel.Take()->Entries());
  for (std::wstring name : subfolders) {
    FRows.push_back({JoinFolder(folder, name), TGlyph::Closed, subIndent});
    if (lower) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    texts.push_back(std::move(name));
  }
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  for (const std::wstring& text : texts)
    SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(Handle(), LB_SETCURSEL, path.empty() ? 0 : path.size() - 1, 0);
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TDirectoryListBox::OpenRow(int index) {
  ReadPendingRows(); // the index is one of the rows the operator sees
  if (index < 0 || static_cast<size_t>(index) >= FRows.size()) return;
  // The row's folder is copied: SetDirectory rebuilds the rows.
  const std::wstring folder = FRows[static_cast<size_t>(index)].Path;
  if (SameFolder(folder, FModel.Folder())) return;
  SetDirectory(folder);
}

bool TDirectoryListBox::OnParentNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wParam) == LBN_DBLCLK) {
    Application.Invoke([this] { OpenRow(ItemIndex()); });
    result = 0;
    return true;
  }
  return TListControl::OnParentNotify(msg, wParam, lParam, result);
}

LRESULT TDirectoryListBox::SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETDLGCODE && lParam &&
      reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
      reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
    return DefaultProc(msg, wParam, lParam) | DLGC_WANTMESSAGE;
  if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
    Application.Invoke([this] { OpenRow(ItemIndex()); });
    return 0;
  }
  return TListControl::SubclassProc(msg, wParam, lParam);
}

void TDirectoryListBox::DrawRow(const DRAWITEMSTRUCT& item, const std::wstring& text) {
  const size_t index = item.itemID;
  if (index >= FRows.size()) return TListControl::DrawRow(item, text);
  const TRow& row = FRows[index];
  const int dpi = Dpi();
  const SIZE glyph = GlyphSize(dpi);
  const int glyphLeft = item.rcItem.left + Scale(row.Indent, dpi);
  DrawRowText(item, text, Scale(row.Indent, dpi) + glyph.cx + Scale(4, dpi));
  const wchar_t* name = row.Glyph == TGlyph::Current ? L"CURRENTFOLDER"
                        : row.Glyph == TGlyph::Open  ? L"OPENFOLDER"
                                                     : L"CLOSEDFOLDER";
  const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - glyph.cy) / 2;
  DrawGlyph(item.hDC, name, glyphLeft, top, dpi);
}
