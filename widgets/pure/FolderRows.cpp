#include "widgets/pure/FolderRows.h"
#include <algorithm>

namespace {
// Length of the root row's part: "C:\" (3), "C:" (2), "\\server\share" (up to the 4th "\").
size_t RootLength(const std::wstring& path) {
  const TPathRoot root = ParsePathRoot(path);
  if (root.Kind == TPathRootKind::Drive && path.size() >= 3 && path[2] == L'\\') return 3;
  return root.Length;
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
