#include "widgets/FileListBox.h"
#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/LongPath.h"
#include "widgets/FolderAccess.h"
#include "widgets/FolderListing.h"
#include "widgets/pure/FileMask.h"
#include "widgets/pure/FolderRows.h"
#include <algorithm>

namespace {
// Folders, hidden and system files are not listed.
bool Listed(DWORD attributes) {
  return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

// The order a sorted list box keeps its rows in: its locale's, letter case ignored. Sort keys
// order as CompareString does, and are made once per name rather than once per comparison.
// Equal names keep the order they were found in.
void SortAsListBox(std::vector<std::wstring>& names, LCID locale) {
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  std::vector<std::pair<std::string, size_t>> keys(names.size());
  std::vector<char> buffer(256);
  for (size_t i = 0; i < names.size(); ++i) {
    const std::wstring& name = names[i];
    const int length = static_cast<int>(name.size());
    int size =
        LCMapStringW(locale, kFlags, name.c_str(), length, reinterpret_cast<LPWSTR>(buffer.data()),
                     static_cast<int>(buffer.size()));
    if (size == 0) {
      // A name whose key is longer than the buffer: ask for its size (0 if it has none).
      const int needed = LCMapStringW(locale, kFlags, name.c_str(), length, nullptr, 0);
      buffer.resize(static_cast<size_t>(std::max(needed, 1)));
      size = needed > 0 ? LCMapStringW(locale, kFlags, name.c_str(), length,
                                       reinterpret_cast<LPWSTR>(buffer.data()), needed)
                        : 0;
    }
    keys[i] = {std::string(buffer.data(), static_cast<size_t>(size)), i};
  }
  std::stable_sort(keys.begin(), keys.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::wstring> sorted;
  sorted.reserve(names.size());
  for (const auto& key : keys)
    sorted.push_back(std::move(names[key.second]));
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
  FDirectory = CurrentFolder();
  FListing.reset();
  RowsChanged();
}

void TFileListBox::SetDirectory(const std::wstring& folder) {
  FollowDirectory(folder, nullptr);
}

void TFileListBox::FollowDirectory(const std::wstring& folder,
                                   std::shared_ptr<TFolderListing> listing) {
  if (SameFolder(folder, FDirectory)) return;
  EnterFolder(folder);
  FDirectory = folder;
  FListing = std::move(listing);
  RowsChanged();
}

void TFileListBox::SetMask(const std::wstring& mask) {
  if (mask == FMask) return;
  FMask = mask;
  FListing.reset();
  RowsChanged();
}

void TFileListBox::ReadRows() {
  ++FReads;
  EnterFolder(FDirectory);
  const TFileMask mask(FMask);
  std::vector<std::wstring> names;
  // One listing of the folder serves every pattern (a listing per pattern reads a big folder
  // many times over), and the listing the folder list made when it moved here serves too. The
  // short name comes with it: the system's search matches it too.
  std::shared_ptr<TFolderListing> listing = std::move(FListing);
  if (!listing || listing->Folder() != FDirectory)
    listing = std::make_shared<TFolderListing>(FDirectory, true);
  if (!listing->Made()) ++FListings;
  for (const TFolderEntry& entry : listing->Entries()) {
    if (!Listed(entry.Attributes)) continue;
    for (int n = mask.MatchCount(entry.Name, entry.ShortName); n > 0; --n)
      names.push_back(entry.Name);
  }
  listing.reset(); // a big folder's entries are not kept while the rows are added
  // Patterns that also name a folder or a stream, or that no listing can stand for.
  WIN32_FIND_DATAW entry;
  for (const std::wstring& pattern : mask.SearchedBySystem()) {
    UniqueFind search(FindFirstFileExW(LongPathForm(JoinFolder(FDirectory, pattern)).c_str(),
                                       FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!search) continue;
    do {
      if (Listed(entry.dwFileAttributes)) names.emplace_back(entry.cFileName);
    } while (FindNextFileW(search.Get(), &entry));
  }
  SortAsListBox(names, static_cast<LCID>(SendMessageW(Handle(), LB_GETLOCALE, 0, 0)));
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  size_t characters = 0;
  for (const std::wstring& name : names)
    characters += name.size() + 1;
  SendMessageW(Handle(), LB_INITSTORAGE, names.size(), characters * sizeof(wchar_t));
  // Already in the list's order: each row goes to the end, where a sorted insert would put it
  // after searching. Straight to the list box's own procedure: the rows are being read, so there
  // is nothing for this list to catch up on, and a message sent per row costs more.
  for (const std::wstring& name : names)
    DefaultProc(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}
