#include "funcoes/pure/FolderRules.h"
#include "funcoes/pure/Exception.h"

std::wstring FolderParentPart(const std::wstring& name) {
  const size_t last = name.find_last_of(L"\\:");
  return last == std::wstring::npos ? std::wstring() : name.substr(0, last + 1);
}

std::wstring ExecutableFolder(const std::wstring& exePath) {
  const size_t last = exePath.find_last_of(L'\\');
  return last == std::wstring::npos ? std::wstring() : exePath.substr(0, last);
}

std::wstring DriveRootOf(const std::wstring& folder) {
  if (folder.size() >= 2 && folder[1] == L':') return folder.substr(0, 2) + L'\\';
  if (folder.rfind(L"\\\\", 0) == 0) {
    const size_t server = folder.find(L'\\', 2);
    if (server == std::wstring::npos || server == 2) return {};
    const size_t share = folder.find(L'\\', server + 1);
    if (share == server + 1) return {};
    return (share == std::wstring::npos ? folder : folder.substr(0, share)) + L'\\';
  }
  return {};
}

bool CreateFolderPathWith(const std::wstring& name,
                          const std::function<bool(const std::wstring&)>& exists,
                          const std::function<bool(const std::wstring&)>& create) {
  if (name.empty()) throw EInOutError(L"Unable to create directory\r\n[" + name + L"]");
  std::wstring folder = name;
  if (folder.back() == L'\\') folder.pop_back();
  if (exists(folder)) return true;
  const std::wstring parent = FolderParentPart(folder);
  if (folder.size() < 3 || parent == folder) return create(folder);
  return CreateFolderPathWith(parent, exists, create) && create(folder);
}
