#include "widgets/FolderListing.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/PathText.h"

#include <cwchar>

namespace {
constexpr size_t kBlockCharacters = 1 << 16; // far more than the longest name, MAX_PATH
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

const std::vector<TFolderEntry>& TFolderListing::Entries() {
  if (FEntries) return *FEntries;
  std::vector<TFolderEntry>& entries = FEntries.emplace();
  // Limiting to folders would only be a hint (most file systems list every entry anyway), and
  // the file list needs the files: one listing of everything, with a large buffer.
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW(LongPathForm(JoinFolder(FFolder, L"*")).c_str(),
                                   FShortNames ? FindExInfoStandard : FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return entries;
  do {
    if (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    const wchar_t* name = entry.cFileName;
    if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
    entries.push_back({Keep(name),
                       FShortNames && entry.cAlternateFileName[0] ? Keep(entry.cAlternateFileName)
                                                                  : std::wstring_view(),
                       entry.dwFileAttributes});
  } while (FindNextFileW(find.Get(), &entry));
  return entries;
}
