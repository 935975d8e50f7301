#include "widgets/DirectoryListBox.h"
#include "funcoes/Folders.h"
#include "funcoes/pure/PathText.h"
#include "widgets/Application.h"
#include "widgets/Dpi.h"
#include "widgets/FileListBox.h"
#include "widgets/FolderListing.h"
#include "widgets/Glyphs.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Background.h"
#include "widgets/SortKeys.h"
#include <map>
#include <mutex>
#include <optional>

namespace {
// The one row of a list waiting for a file server.
std::wstring WaitingRowText(const std::wstring& folder) {
  return L"Aguardando resposta de " + folder + L"...";
}

// Subfolders of a listed folder, without hidden and system ones (the listing leaves those
// out), sorted as the list's locale sorts names, letter case ignored.
std::vector<std::wstring_view> Subfolders(const std::vector<TFolderEntry>& entries, LCID locale) {
  std::vector<std::wstring_view> names;
  for (const TFolderEntry& entry : entries)
    if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) names.push_back(entry.Name);
  SortByKeys(names, locale);
  return names;
}

// On a volume that neither keeps nor tells apart letter case, names show in small letters.
// Asked once per root: the answer does not change while the volume is mounted. Asked by reads
// on the pool, so the answers are kept under a lock.
bool VolumeLowersNames(const std::wstring& root) {
  static std::mutex lock;
  static std::map<std::wstring, bool> known;
  {
    const std::lock_guard<std::mutex> held(lock);
    const auto found = known.find(root);
    if (found != known.end()) return found->second;
  }
  DWORD flags = 0;
  const bool lowers =
      GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
      !(flags & (FILE_CASE_PRESERVED_NAMES | FILE_CASE_SENSITIVE_SEARCH));
  const std::lock_guard<std::mutex> held(lock);
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
  if (!folder.empty()) MoveTo(folder, true);
}

void TDirectoryListBox::SetDirectoryThatExists(const std::wstring& folder) {
  if (folder.empty()) return;
  const std::wstring full = FullFolder(folder);
  ++FMoveGeneration; // the answer a move waited for is no longer wanted
  EndWait();
  Enter(full, true);
}

void TDirectoryListBox::ShowDirectory(const std::wstring& folder) {
  if (!folder.empty()) MoveTo(folder, false);
}

void TDirectoryListBox::ShowWaiting(const std::wstring& folder) {
  ++FMoveGeneration; // the answer a move waited for is no longer wanted
  FWaitingFor = folder;
  RowsChanged();
}

// The folder is asked on the pool whether it is there: a folder on a server that does not answer
// would hold the window for the system's whole wait.
void TDirectoryListBox::MoveTo(const std::wstring& folder, bool chosen) {
  const std::wstring full = FullFolder(folder);
  const unsigned move = ++FMoveGeneration;
  const std::optional<std::wstring> missing = Background::AskOrDeliver<std::wstring>(
      [full] { return FolderExists(full) ? std::wstring() : FolderMissingText(full); }, kReadWaitMs,
      [this, alive = Alive(), move, full, chosen](std::wstring& late) {
        if (alive.expired() || move != FMoveGeneration) return; // moved on meanwhile
        EndWait();
        if (!late.empty()) throw EInOutError(late);
        Enter(full, chosen);
      });
  if (!missing) {
    FWaitingFor = full;
    RowsChanged();
    return;
  }
  if (!missing->empty()) throw EInOutError(*missing);
  EndWait();
  Enter(full, chosen);
}

void TDirectoryListBox::EndWait() {
  if (FWaitingFor.empty()) return;
  // The rows show the wait: they are read again whatever the folder.
  FWaitingFor.clear();
  RowsChanged();
}

void TDirectoryListBox::Enter(const std::wstring& folder, bool chosen) {
  FChosen = chosen;
  if (SameFolder(folder, FModel.Folder())) return;
  // One listing for this list's rows and its file list's: whichever reads first makes it.
  std::shared_ptr<TFolderModel::TShared> listing = FModel.Lead(folder, FileList != nullptr);
  RowsChanged();
  if (FileList) FileList->FollowDirectory(FModel.Folder(), std::move(listing));
}

TListControl::TRead TDirectoryListBox::PrepareRead() {
  if (!FWaitingFor.empty()) {
    ShowWaitingRow(FWaitingFor);
    return {};
  }
  const TFolderModel::TSource source = FModel.Take();
  TRead read;
  // The work only captures the list to hand it to the show, which runs on the window's thread.
  read.Work = [this, folder = FModel.Folder(), source, locale = RowLocale()]() -> TShowRows {
    auto rows = std::make_shared<TFolderRows>(FolderRows(folder, source, locale));
    return [this, rows] { ShowRows(*rows); };
  };
  read.Late = [this, source] {
    source.MarkLate(); // the file list's read of the same listing need not wait again
    ShowWaitingRow(FModel.Folder());
  };
  return read;
}

TDirectoryListBox::TFolderRows TDirectoryListBox::FolderRows(const std::wstring& folder,
                                                             const TFolderModel::TSource& source,
                                                             LCID locale) {
  TFolderRows rows;
  const std::vector<TPathRow> path = PathRows(folder);
  for (size_t i = 0; i < path.size(); ++i) {
    const bool current = i + 1 == path.size();
    rows.Rows.push_back(
        {path[i].Path, current ? TGlyph::Current : TGlyph::Open, 2 + 4 * static_cast<int>(i)});
    rows.Texts.push_back(path[i].Name);
  }
  rows.Current = path.empty() ? 0 : static_cast<int>(path.size()) - 1;
  const int subIndent = 6 + 4 * CountBackslashes(folder);
  const bool lower = !path.empty() && VolumeLowersNames(path.front().Path);
  const auto [listing, listed] = source.List();
  rows.Listed = listed;
  for (const std::wstring_view subfolder : Subfolders(listing->Entries(), locale)) {
    std::wstring name(subfolder);
    rows.Rows.push_back({JoinFolder(folder, name), TGlyph::Closed, subIndent});
    if (lower) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    rows.Texts.push_back(std::move(name));
  }
  return rows;
}

void TDirectoryListBox::ShowRows(TFolderRows& rows) {
  if (rows.Listed) FModel.NoteListing();
  FRows = std::move(rows.Rows);
  const auto texts = std::make_shared<const std::vector<std::wstring>>(std::move(rows.Texts));
  FillRows(std::vector<std::wstring_view>(texts->begin(), texts->end()), rows.Current, texts);
}

void TDirectoryListBox::ShowWaitingRow(const std::wstring& folder) {
  FRows.clear();
  const std::wstring text = WaitingRowText(folder);
  FillRows({text}, 0);
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
