#include "ui/FileCount.h"
#include "funcoes/Handles.h"
#include <optional>
#include <vector>

namespace {
struct TFolderId {
  DWORD Volume;
  DWORD IndexHigh, IndexLow;
  bool operator==(const TFolderId&) const = default;
};

std::optional<TFolderId> FolderIdOf(const std::wstring& path) {
  UniqueFileHandle folder(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder || !GetFileInformationByHandle(folder.Get(), &info)) return std::nullopt;
  return TFolderId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// The folders on the path being counted. Their identities are only looked up when a link to
// a folder is met, since only a link can lead back to a folder above it.
struct TCountPath {
  struct TEntry {
    std::wstring Path;
    std::optional<TFolderId> Id;
    bool Known = false;
  };
  std::vector<TEntry> Entries;

  bool Contains(const TFolderId& id) {
    for (TEntry& entry : Entries) {
      if (!entry.Known) {
        entry.Id = FolderIdOf(entry.Path);
        entry.Known = true;
      }
      if (entry.Id == id) return true;
    }
    return false;
  }
};

int32_t CountFilesBelow(const std::wstring& path, TCountPath& trail) {
  int32_t sum = 0;
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW((path + L"\\*.*").c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return 0;
  trail.Entries.push_back({path, std::nullopt, false});
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ++sum;
      continue;
    }
    const std::wstring child = path + L"\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      const std::optional<TFolderId> id = FolderIdOf(child);
      if (id && trail.Contains(*id)) continue; // a loop back up: already being counted
    }
    sum += CountFilesBelow(child, trail);
  } while (FindNextFileW(find.Get(), &entry));
  trail.Entries.pop_back();
  return sum;
}
} // namespace

int32_t CountFilesIn(const std::wstring& path) {
  TCountPath trail;
  return CountFilesBelow(path, trail);
}
