#include "funcoes/pure/LongPath.h"

namespace {
constexpr std::size_t kLongPathStart = 248;

bool IsDriveLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The parts after the root (from start) need no folding: none is empty or ends in ".", and
// the last does not end in a blank. One "\" may end the path.
bool PartsNeedNoFolding(const std::wstring& path, std::size_t start) {
  if (path.find(L'/') != std::wstring::npos) return false;
  const std::size_t length = path.back() == L'\\' ? path.size() - 1 : path.size();
  for (;;) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos || end > length) end = length;
    if (end == start || path[end - 1] == L'.') return false;
    if (end == length) return path[end - 1] != L' ';
    start = end + 1;
  }
}
} // namespace

std::wstring LongPathForm(const std::wstring& path) {
  if (path.size() < kLongPathStart) return path;
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\')
    return PartsNeedNoFolding(path, 3) ? L"\\\\?\\" + path : path;
  if (path.rfind(L"\\\\", 0) == 0 && PartsNeedNoFolding(path, 2))
    return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}
