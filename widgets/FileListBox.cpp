#include "widgets/FileListBox.h"
#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/PathText.h"
#include "widgets/FolderListing.h"
#include "widgets/pure/FileMask.h"
#include <algorithm>
#include <string_view>

namespace {
// Folders are not listed (nor hidden and system files, which no listing holds).
bool IsFile(const TFolderEntry& entry) {
  return !(entry.Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The order a sorted list box keeps its rows in: its locale's, letter case ignored. Sort keys
// order as CompareString does, and are made once per name rather than once per comparison (all
// in one buffer). Equal names keep the order they were found in.
void SortAsListBox(std::vector<std::wstring_view>& names, LCID locale) {
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  std::vector<char> keys;
  keys.reserve(names.size() * 32);
  std::vector<std::pair<size_t, size_t>> spans(names.size()); // offset and size in keys
  for (size_t i = 0; i < names.size(); ++i) {
    const std::wstring_view name = names[i];
    const int length = static_cast<int>(name.size());
    const size_t offset = keys.size();
    keys.resize(offset + 256);
    int size = LCMapStringW(locale, kFlags, name.data(), length,
                            reinterpret_cast<LPWSTR>(keys.data() + offset), 256);
    if (size == 0) {
      // A name whose key is longer than that: ask for its size (0 if it has none).
      const int needed = LCMapStringW(locale, kFlags, name.data(), length, nullptr, 0);
      keys.resize(offset + static_cast<size_t>(std::max(needed, 0)));
      size = needed > 0 ? LCMapStringW(locale, kFlags, name.data(), length,
                                       reinterpret_cast<LPWSTR>(keys.data() + offset), needed)
                        : 0;
    }
    keys.resize(offset + static_cast<size_t>(size));
    spans[i] = {offset, static_cast<size_t>(size)};
  }
  const auto key = [&](size_t i) {
    return std::string_view(keys.data() + spans[i].first, spans[i].second);
  };
  std::vector<size_t> order(names.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
  std::vector<std::wstring_view> sorted;
  sorted.reserve(names.size());
  for (const size_t i : order)
    sorted.push_back(names[i]);
  names.swap(sorted);
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
  FollowDirectory(folder, nullptr);
}

void TFileListBox::FollowDirectory(const std::wstring& folder,
                                   std::shared_ptr<TFolderModel::TShared> listing) {
  if (SameFolder(folder, FModel.Folder())) return;
  EnterFolder(folder);
  FModel.Follow(folder, std::move(listing));
  RowsChanged();
}

void TFileListBox::SetMask(const std::wstring& mask) {
  if (mask == FMask) return;
  FMask = mask;
  FModel.ListAfresh();
  RowsChanged();
}

void TFileListBox::ReadRows() {
  ++FReads;
  const std::wstring& folder = FModel.Folder();
  EnterFolder(folder);
  const TFileMask mask(FMask);
  // The names to show, each ending with a NUL where its listing keeps it.
  std::vector<std::wstring_view> names;
  // One listing of the folder serves every pattern (a listing per pattern reads a big folder
  // many times over), and the listing the folder list made when it moved here serves too.
  const std::shared_ptr<const TFolderListing> listing = FModel.Take();
  for (const TFolderEntry& entry : listing->Entries()) {
    if (!IsFile(entry)) continue;
    for (int n = mask.MatchCount(entry.Name, entry.ShortName); n > 0; --n)
      names.push_back(entry.Name);
  }
  // Patterns that also name a folder or a stream, or that no listing can stand for.
  std::vector<TFolderListing> searched;
  searched.reserve(mask.SearchedBySystem().size());
  for (const std::wstring& pattern : mask.SearchedBySystem())
    for (const TFolderEntry& entry :
         searched.emplace_back(TFolderListing::Search(folder, pattern)).Entries())
      if (IsFile(entry)) names.push_back(entry.Name);
  SortAsListBox(names, static_cast<LCID>(SendMessageW(Handle(), LB_GETLOCALE, 0, 0)));
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  size_t characters = 0;
  for (const std::wstring_view name : names)
    characters += name.size() + 1;
  SendMessageW(Handle(), LB_INITSTORAGE, names.size(), characters * sizeof(wchar_t));
  // Already in the list's order: each row goes to the end, where a sorted insert would put it
  // after searching. Straight to the list box's own procedure: the rows are being read, so there
  // is nothing for this list to catch up on, and a message sent per row costs more.
  for (const std::wstring_view name : names)
    DefaultProc(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.data()));
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}
