#pragma once
// Path text rules of the stand-in, without <windows.h>.
#include <string>
#include <string_view>

// Drops separators at the end, except the one of a drive root ("C:\", "\\?\C:\").
inline std::wstring TrimTrailingSeparators(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') &&
         path[path.size() - 2] != L':')
    path.pop_back();
  return path;
}

// The folder with one separator at its end, as the log shows folders.
inline std::wstring WithTrailingSeparator(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

// The \\?\ form of a full path, so that names beyond 260 characters still work;
// a network path becomes \\?\UNC\server\share.
inline std::wstring ExtendedLengthPath(const std::wstring& fullPath) {
  if (fullPath.rfind(L"\\\\?\\", 0) == 0) return fullPath;
  if (fullPath.rfind(L"\\\\.\\", 0) == 0) return fullPath;
  if (fullPath.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + fullPath.substr(2);
  return L"\\\\?\\" + fullPath;
}

// An /XD entry without any separator or drive names a folder wherever it appears;
// any other entry is a path and excludes that one folder.
inline bool IsBareFolderName(std::wstring_view entry) {
  return entry.find_first_of(L"\\/:") == std::wstring_view::npos;
}
