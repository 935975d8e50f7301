#include "widgets/FolderListing.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/LongPath.h"
#include "widgets/pure/FolderRows.h"

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
    entries.push_back({name, FShortNames ? entry.cAlternateFileName : L"", entry.dwFileAttributes});
  } while (FindNextFileW(find.Get(), &entry));
  return entries;
}
