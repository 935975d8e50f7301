#pragma once
// The number of files below a folder, for the gauge's maximum.
#include "funcoes/Handles.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Every entry that is not a folder counts, hidden and system ones included; folders and links
// to folders are entered, a link that leads back to a folder on the current path is not
// entered again. A folder that cannot be listed adds 0. path has no trailing "\" ("C:" for a
// drive root).
//
// The count is resumable: Step counts until its deadline passes and returns, so that a big
// tree is counted in slices between which the window's messages are dispatched.
class TFileCount {
public:
  explicit TFileCount(const std::wstring& path);
  // Counts until GetTickCount64() reaches deadline or the count ends; true once it has ended.
  bool Step(unsigned long long deadline);
  bool Done() const { return FDone; }
  int32_t Total() const { return FTotal; }

private:
  struct TFolderId {
    unsigned long Volume, IndexHigh, IndexLow;
    bool operator==(const TFolderId&) const = default;
  };
  // One folder on the path being counted, with its open listing. Its identity is only looked
  // up when a link to a folder is met, since only a link can lead back to a folder above it.
  struct TLevel {
    std::wstring Path;
    UniqueFind Find;
    std::optional<TFolderId> Id;
    bool Known = false;
  };
  static std::optional<TFolderId> FolderIdOf(const std::wstring& path);
  bool OnPath(const TFolderId& id);
  void Enter(const std::wstring& path);
  // Counts a file or enters a folder; true when the entry was a folder (entered or not).
  bool Take(const WIN32_FIND_DATAW& entry);

  std::vector<TLevel> FLevels;
  int32_t FTotal = 0;
  bool FDone = false;
};
