#include "widgets/FileListBox.h"
#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/PathText.h"
#include "funcoes/pure/Exception.h"
#include "widgets/Background.h"
#include "widgets/FolderListing.h"
#include "widgets/SortKeys.h"
#include "widgets/pure/FileMask.h"
#include <optional>
#include <string_view>
#include <tuple>

namespace {
// Folders are not listed (nor hidden and system files, which no listing holds).
bool IsFile(const TFolderEntry& entry) {
  return !(entry.Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TWindowArgs TFileListBox::WindowArgs() const {
  TWindowArgs args = TListControl::WindowArgs();
  args.Style |= LBS_SORT | LBS_EXTENDEDSEL;
  return args;
}

void TFileListBox::AfterCreate() {
  TListControl::AfterCreate();
  // A new list shows the process's current folder.
  FModel.Show(CurrentFolder());
  RowsChanged();
}

void TFileListBox::SetDirectory(const std::wstring& folder) {
  const std::wstring full = FullFolder(folder);
  if (SameFolder(full, FModel.Folder())) return;
  // A folder that has not answered in time is shown all the same: its read reports it.
  const std::optional<std::wstring> missing = Background::Ask<std::wstring>(
      [full] { return FolderExists(full) ? std::wstring() : FolderMissingText(full); },
      kReadWaitMs);
  if (missing && !missing->empty()) throw EInOutError(*missing);
  FollowDirectory(full, nullptr);
}

void TFileListBox::FollowDirectory(const std::wstring& folder,
                                   std::shared_ptr<TFolderModel::TShared> listing) {
  if (SameFolder(folder, FModel.Folder())) return;
  FModel.Follow(folder, std::move(listing));
  RowsChanged();
}

void TFileListBox::SetMask(const std::wstring& mask) {
  if (mask == FMask) return;
  FMask = mask;
  FModel.ListAfresh();
  RowsChanged();
}

TListControl::TRead TFileListBox::PrepareRead() {
  ++FReads;
  const TFolderModel::TSource source = FModel.Take();
  TRead read;
  // The folder list's read of the same listing has waited already: the window waits once.
  if (source.Late()) read.WaitMs = 0;
  // The work only captures the list to hand it to the show, which runs on the window's thread.
  read.Work = [this, folder = FModel.Folder(), source, mask = FMask,
               locale = RowLocale()]() -> TShowRows {
    auto rows = std::make_shared<const TFileRows>(FileRows(folder, source, mask, locale));
    return [this, rows] { ShowRows(rows); };
  };
  // No rows of another folder while this one's are on their way.
  read.Late = [this] { FillRows({}, -1); };
  return read;
}

TFileListBox::TFileRows TFileListBox::FileRows(const std::wstring& folder,
                                               const TFolderModel::TSource& source,
                                               const std::wstring& maskText, LCID locale) {
  TFileRows rows;
  // One listing of the folder serves every pattern (a listing per pattern reads a big folder
  // many times over), and the listing the folder list made when it moved here serves too.
  std::tie(rows.Listing, rows.Listed) = source.List();
  // Only a search that failed asks whether the folder is there: a folder that cannot be read
  // shows no rows, one that has gone is reported.
  if (!rows.Listing->Searched() && !FolderExists(folder)) {
    rows.Missing = FolderMissingText(folder);
    return rows;
  }
  const TFileMask mask(maskText);
  for (const TFolderEntry& entry : rows.Listing->Entries()) {
    if (!IsFile(entry)) continue;
    for (int n = mask.MatchCount(entry.Name, entry.ShortName); n > 0; --n)
      rows.Names.push_back(entry.Name);
  }
  // Patterns that also name a folder or a stream, or that no listing can stand for.
  rows.Searched.reserve(mask.SearchedBySystem().size());
  for (const std::wstring& pattern : mask.SearchedBySystem())
    for (const TFolderEntry& entry :
         rows.Searched.emplace_back(TFolderListing::Search(folder, pattern)).Entries())
      if (IsFile(entry)) rows.Names.push_back(entry.Name);
  // Already in the list box's order: each row goes to the end, where a sorted insert would put
  // it after searching.
  SortByKeys(rows.Names, locale);
  return rows;
}

void TFileListBox::ShowRows(const std::shared_ptr<const TFileRows>& rows) {
  if (rows->Listed) FModel.NoteListing();
  if (!rows->Missing.empty()) {
    FillRows({}, -1);
    throw EInOutError(rows->Missing);
  }
  FillRows(rows->Names, -1, rows);
}
