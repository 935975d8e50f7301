#include "ui/FileCount.h"
#include "funcoes/pure/LongPath.h"

std::optional<TFileCount::TFolderId> TFileCount::FolderIdOf(const std::wstring& path) {
  UniqueFileHandle folder(CreateFileW(LongPathForm(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder || !GetFileInformationByHandle(folder.Get(), &info)) return std::nullopt;
  return TFolderId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool TFileCount::OnPath(const TFolderId& id) {
  for (TLevel& level : FLevels) {
    if (!level.Known) {
      level.Id = FolderIdOf(level.Path);
      level.Known = true;
    }
    if (level.Id == id) return true;
  }
  return false;
}

// Opens path's listing and takes its first entry; a folder that cannot be listed adds 0.
void TFileCount::Enter(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW(LongPathForm(path + L"\\*.*").c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return;
  FLevels.push_back({path, std::move(find), std::nullopt, false});
  Take(entry);
}

bool TFileCount::Take(const WIN32_FIND_DATAW& entry) {
  const std::wstring_view name = entry.cFileName;
  if (name == L"." || name == L"..") return false;
  if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ++FTotal;
    return false;
  }
  const std::wstring child = FLevels.back().Path + L"\\" + std::wstring(name);
  if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    const std::optional<TFolderId> id = FolderIdOf(child);
    if (id && OnPath(*id)) return true; // a loop back up: already being counted
  }
  Enter(child);
  return true;
}

TFileCount::TFileCount(const std::wstring& path) {
  Enter(path);
  FDone = FLevels.empty();
}

bool TFileCount::Step(unsigned long long deadline) {
  // The clock is read once per batch of entries, since reading it per entry would cost more
  // than the listing itself on a big folder, and after every folder opened: on a share each
  // opening is a round trip to the server.
  constexpr int kBatch = 256;
  while (!FDone) {
    for (int i = 0; i < kBatch && !FLevels.empty(); ++i) {
      WIN32_FIND_DATAW entry;
      if (!FindNextFileW(FLevels.back().Find.Get(), &entry))
        FLevels.pop_back();
      else if (Take(entry))
        break;
    }
    FDone = FLevels.empty();
    if (GetTickCount64() >= deadline) break;
  }
  return FDone;
}
