#pragma once
// One listing of a folder's entries, as the folder and file lists show them: hidden and system
// entries, "." and ".." are left out, since neither list shows them. A listing is made in one
// go and only read after; it keeps no handle and touches no window, so it can be made apart
// from the lists that read it and handed to them (TFolderModel).
#include <windows.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Names point into the listing's own storage, end with a NUL there, and live as long as it
// (moved or not).
struct TFolderEntry {
  std::wstring_view Name;
  std::wstring_view ShortName; // the 8.3 name, empty when the entry has none (or was not asked for)
  DWORD Attributes = 0;
};

class TFolderListing {
public:
  // Lists every entry of the folder; shortNames: whether the short names are wanted (a file
  // list's mask matches them too). No entries when the folder cannot be listed.
  TFolderListing(const std::wstring& folder, bool shortNames);
  // The entries the system's own search of pattern in the folder finds, left out as in a
  // listing: a file list's pattern that no listing can stand for. No short names.
  static TFolderListing Search(const std::wstring& folder, const std::wstring& pattern);
  const std::vector<TFolderEntry>& Entries() const { return FEntries; }
  // False when the folder could not be searched (it is not there, or cannot be read); a folder
  // without entries, or a pattern that matches none, was searched.
  bool Searched() const { return FSearched; }

private:
  TFolderListing(const std::wstring& folder, const std::wstring& pattern, bool shortNames,
                 DWORD flags);
  // The names go into blocks that never move, a few allocations for a big folder rather than
  // two per entry.
  std::wstring_view Keep(const wchar_t* text);
  std::vector<std::unique_ptr<wchar_t[]>> FBlocks;
  size_t FBlockUsed = 0;
  bool FSearched = true;
  std::vector<TFolderEntry> FEntries;
};
