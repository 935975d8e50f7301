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

bool CreateFolderPath(const std::wstring& name) {
  return CreateFolderPathWith(name, FolderExists, [](const std::wstring& folder) {
    return CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
  });
}
