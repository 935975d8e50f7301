#include "widgets/FolderListing.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/PathText.h"

#include <cwchar>

namespace {
constexpr size_t kBlockCharacters = 1 << 16; // far more than the longest name, MAX_PATH

// What neither list shows.
bool Shown(const WIN32_FIND_DATAW& entry) {
  if (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return false;
  const wchar_t* name = entry.cFileName;
  return !(name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0')));
}
} // namespace

std::wstring_view TFolderListing::Keep(const wchar_t* text) {
  const size_t length = std::wcslen(text);
  if (FBlocks.empty() || FBlockUsed + length + 1 > kBlockCharacters) {
    FBlocks.push_back(std::make_unique<wchar_t[]>(kBlockCharacters));
    FBlockUsed = 0;
  }
  wchar_t* kept = FBlocks.back().get() + FBlockUsed;
  std::wmemcpy(kept, text, length + 1);
  FBlockUsed += length + 1;
  return {kept, length};
}

// Limiting to folders would only be a hint (most file systems list every entry anyway), and the
// file list needs the files: one listing of everything, with a large buffer.
TFolderListing::TFolderListing(const std::wstring& folder, bool shortNames)
    : TFolderListing(folder, L"*", shortNames, FIND_FIRST_EX_LARGE_FETCH) {}

TFolderListing TFolderListing::Search(const std::wstring& folder, const std::wstring& pattern) {
  return TFolderListing(folder, pattern, false, 0);
}

TFolderListing::TFolderListing(const std::wstring& folder, const std::wstring& pattern,
                               bool shortNames, DWORD flags) {
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW(LongPathForm(JoinFolder(folder, pattern)).c_str(),
                                   shortNames ? FindExInfoStandard : FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, flags));
  if (!find) {
    // A search that matches nothing still searched the folder.
    FSearched = GetLastError() == ERROR_FILE_NOT_FOUND;
    return;
  }
  do {
    if (!Shown(entry)) continue;
    FEntries.push_back({Keep(entry.cFileName),
                        shortNames && entry.cAlternateFileName[0] ? Keep(entry.cAlternateFileName)
                                                                  : std::wstring_view(),
                        entry.dwFileAttributes});
  } while (FindNextFileW(find.Get(), &entry));
}
