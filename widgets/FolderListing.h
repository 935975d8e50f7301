#pragma once
// One listing of a folder's entries, made when first asked for. A folder list that moves hands
// the same listing to its linked file list, so that the two read the moved-to folder once
// between them, whichever of them reads its rows first; a big folder costs one pass of the
// system's search instead of two. Hidden and system entries, "." and ".." are left out: neither
// list shows them.
#include <windows.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Names point into the listing's own storage, end with a NUL there, and live as long as it.
struct TFolderEntry {
  std::wstring_view Name;
  std::wstring_view ShortName; // the 8.3 name, empty when the entry has none (or was not asked for)
  DWORD Attributes = 0;
};

class TFolderListing {
public:
  // shortNames: whether the short names are wanted (a file list's mask matches them too).
  TFolderListing(std::wstring folder, bool shortNames)
      : FFolder(std::move(folder)), FShortNames(shortNames) {}
  const std::wstring& Folder() const { return FFolder; }
  // Whether the folder has been listed yet.
  bool Made() const { return FEntries.has_value(); }
  // Lists the folder on the first call; no entries when it cannot be listed.
  const std::vector<TFolderEntry>& Entries();

private:
  // The names go into blocks that never move, a few allocations for a big folder rather than
  // two per entry.
  std::wstring_view Keep(const wchar_t* text);
  std::vector<std::unique_ptr<wchar_t[]>> FBlocks;
  size_t FBlockUsed = 0;
  std::wstring FFolder;
  bool FShortNames;
  std::optional<std::vector<TFolderEntry>> FEntries;
};
