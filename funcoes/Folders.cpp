#include "funcoes/Folders.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/FolderRules.h"

std::wstring RaizOrigem;
std::wstring RaizDestino;

bool FolderExists(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // A link whose target is gone still has attributes of its own: open it to be sure.
    UniqueFileHandle target(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
  // Windows makes no folder whose path leaves no room for an 8.3 name (MAX_PATH - 12) for a
  // program that does not declare long paths; this one does not. Answer so at once instead of
  // asking about every level of an overlong name (Wine would even create them all).
  constexpr size_t kLongestCreatable = MAX_PATH - 12;
  if (name.size() > kLongestCreatable && FolderExists(name)) return true;
  if (name.size() > kLongestCreatable + 1 ||
      (name.size() == kLongestCreatable + 1 && name.back() != L'\\'))
    return false;
  return CreateFolderPathWith(name, FolderExists, [](const std::wstring& folder) {
    return CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
  });
}
