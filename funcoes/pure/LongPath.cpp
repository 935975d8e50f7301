#include "funcoes/pure/LongPath.h"

namespace {
constexpr std::size_t kLongPathStart = 248;

bool IsDriveLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
} // namespace

std::wstring LongPathForm(const std::wstring& path) {
  if (path.size() < kLongPathStart) return path;
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
  // "\\?\" turns off the folding of "/", "." and "..": only a plain full path is given it.
  if (path.find(L'/') != std::wstring::npos) return path;
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\')
    return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}
