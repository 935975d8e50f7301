#include "widgets/FolderAccess.h"
#include "funcoes/Folders.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"
#include <windows.h>

namespace {
[[noreturn]] void CannotEnter(const std::wstring& folder, DWORD error) {
  throw EInOutError(CannotOpenFolderText(folder, error));
}

// The full form of a folder that cannot be current: "." and ".." resolved, no trailing "\".
std::wstring FullFolder(const std::wstring& folder) {
  std::wstring full(folder.size() + MAX_PATH, L'\0');
  DWORD length =
      GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length > full.size()) {
    full.resize(length);
    length = GetFullPathNameW(folder.c_str(), length, full.data(), nullptr);
  }
  if (length == 0) CannotEnter(folder, GetLastError());
  full.resize(length);
  if (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}
} // namespace

std::wstring CurrentFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  if (length > folder.size()) {
    folder.resize(length);
    length = GetCurrentDirectoryW(length, folder.data());
  }
  folder.resize(length);
  return folder;
}

std::wstring EnterFolder(const std::wstring& folder) {
  if (folder.size() > kLongestCurrentFolder) {
    const std::wstring full = FullFolder(folder);
    if (full.size() > kLongestCurrentFolder) {
      if (!FolderExists(full)) {
        const DWORD attributes = GetFileAttributesW(LongPathForm(full).c_str());
        CannotEnter(folder,
                    attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY);
      }
      return full;
    }
  }
  if (!SetCurrentDirectoryW(folder.c_str())) CannotEnter(folder, GetLastError());
  return CurrentFolder();
}
