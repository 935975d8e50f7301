#include "funcoes/pure/FolderRules.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"
#include <vector>

std::wstring FolderParentPart(const std::wstring& name) {
  const size_t last = name.find_last_of(L"\\:");
  return last == std::wstring::npos ? std::wstring() : name.substr(0, last + 1);
}

std::wstring ExecutableFolder(const std::wstring& exePath) {
  const size_t last = exePath.find_last_of(L'\\');
  return last == std::wstring::npos ? std::wstring() : exePath.substr(0, last);
}

std::wstring DriveRootOf(const std::wstring& folder) {
  // "\\server\" and "\\server\\x" name no share.
  const TPathRoot root = ParsePathRoot(folder);
  return root.NamesVolume() ? folder.substr(0, root.Length) + L'\\' : std::wstring();
}

// Walks up first and creates from the top down, as a recursion on the parent part would, but
// in a loop that keeps only the lengths of the folders to make: every folder on the way is a
// start of name, and a stored folder of 32,767 characters would otherwise go some 16,000 calls
// deep, each holding its own copy of the path.
bool CreateFolderPathWith(const std::wstring& name,
                          const std::function<bool(const std::wstring&)>& exists,
                          const std::function<bool(const std::wstring&)>& create) {
  std::vector<size_t> missing; // lengths of the folders to create, the deepest first
  std::wstring folder = name;
  for (;;) {
    if (folder.empty()) throw EInOutError(L"Unable to create directory\r\n[" + folder + L"]");
    if (folder.back() == L'\\') folder.pop_back();
    if (exists(folder)) break;
    const size_t parentLength = FolderParentPart(folder).size();
    missing.push_back(folder.size());
    if (folder.size() < 3 || parentLength == folder.size()) break;
    folder.resize(parentLength);
  }
  for (auto length = missing.rbegin(); length != missing.rend(); ++length)
    if (!create(name.substr(0, *length))) return false;
  return true;
}
