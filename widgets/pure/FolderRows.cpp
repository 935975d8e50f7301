#include "widgets/pure/FolderRows.h"
#include <algorithm>

namespace {
// Length of the root part: "C:\" (3), "C:" (2), "\\server\share" (up to the 4th "\").
size_t RootLength(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.size() >= 3 && path[2] == L'\\' ? 3 : 2;
  if (path.rfind(L"\\\\", 0) == 0) {
    size_t slash = path.find(L'\\', 2);
    if (slash == std::wstring::npos) return path.size();
    slash = path.find(L'\\', slash + 1);
    return slash == std::wstring::npos ? path.size() : slash;
  }
  return path.rfind(L"\\", 0) == 0 ? 1 : 0;
}
} // namespace

std::vector<TPathRow> PathRows(const std::wstring& directory) {
  std::vector<TPathRow> rows;
  if (directory.empty()) return rows;
  const size_t rootLength = RootLength(directory);
  std::wstring root = directory.substr(0, rootLength);
  if (root.size() == 2 && root[1] == L':') root += L'\\';
  rows.push_back({root, root});
  std::wstring path = root;
  size_t start = rootLength;
  while (start < directory.size()) {
    if (directory[start] == L'\\') {
      ++start;
      continue;
    }
    size_t end = directory.find(L'\\', start);
    if (end == std::wstring::npos) end = directory.size();
    const std::wstring name = directory.substr(start, end - start);
    path = JoinFolder(path, name);
    rows.push_back({name, path});
    start = end;
  }
  return rows;
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'\\') return folder + name;
  return folder + L'\\' + name;
}

int CountBackslashes(const std::wstring& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), L'\\'));
}

std::vector<std::wstring> SplitMask(const std::wstring& mask) {
  std::vector<std::wstring> pieces;
  size_t start = 0;
  for (;;) {
    const size_t semicolon = mask.find(L';', start);
    pieces.push_back(mask.substr(start, semicolon - start));
    if (semicolon == std::wstring::npos) break;
    start = semicolon + 1;
  }
  return pieces;
}
