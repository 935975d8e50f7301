#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"

std::wstring RaizOrigem;
std::wstring RaizDestino;

namespace {
[[noreturn]] void CannotEnter(const std::wstring& folder, DWORD error) {
  throw EInOutError(CannotOpenFolderText(folder, error));
}
} // namespace

bool FolderExists(const std::wstring& name) {
  const std::wstring path = LongPathForm(name);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // A link whose target is gone still has attributes of its own: open it to be sure.
    UniqueFileHandle target(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!target) return false;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool CreateFolderPath(const std::wstring& name) {
  // Past the longest path the system takes nothing can be made: answer at once instead of
  // asking about each of the thousands of levels such a name can hold.
  if (!name.empty() && LongPathForm(name).size() > kLongestPath) return false;
  // Levels past MAX_PATH - 12 are made through their "\\?\" form, which needs no long-path
  // policy.
  return CreateFolderPathWith(name, FolderExists, [](const std::wstring& folder) {
    return CreateDirectoryW(LongPathForm(folder).c_str(), nullptr) != FALSE;
  });
}

std::wstring CannotOpenFolderText(const std::wstring& name, unsigned long error) {
  return L"Cannot open folder \"" + name + L"\". " + SysErrorMessage(error);
}

std::wstring FolderMissingText(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(LongPathForm(name).c_str());
  const DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError()
                      : attributes & FILE_ATTRIBUTE_DIRECTORY
                          ? ERROR_PATH_NOT_FOUND // a link that leads nowhere
                          : ERROR_DIRECTORY;
  return CannotOpenFolderText(name, error);
}

std::wstring NearestExistingFolder(const std::wstring& name) {
  std::wstring folder = name;
  while (!folder.empty()) {
    if (FolderExists(folder)) return folder;
    std::wstring trimmed = folder;
    if (trimmed.size() > 1 && trimmed.back() == L'\\') trimmed.pop_back();
    std::wstring parent = FolderParentPart(trimmed);
    // Each step is shorter; a drive or share root that is not there ends the walk.
    if (parent.size() >= folder.size()) break;
    folder = std::move(parent);
  }
  return {};
}

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
