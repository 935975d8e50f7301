#include "funcoes/pure/PathText.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/LetterCase.h"
#include <algorithm>

namespace {
constexpr std::size_t kLongPathStart = 248;

bool IsAsciiLetter(wchar_t c) {
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

TPathRoot ParsePathRoot(const std::wstring& path) {
  TPathRoot root;
  if (path.size() >= 2 && path[1] == L':') {
    root.Kind = TPathRootKind::Drive;
    root.Length = 2;
    root.Letter = IsAsciiLetter(path[0]);
  } else if (path.rfind(L"\\\\", 0) == 0) {
    root.Kind = TPathRootKind::Share;
    const size_t serverEnd = path.find(L'\\', 2);
    root.Server = path.substr(2, serverEnd == std::wstring::npos ? serverEnd : serverEnd - 2);
    if (serverEnd == std::wstring::npos) {
      root.Length = path.size();
    } else {
      const size_t shareEnd = path.find(L'\\', serverEnd + 1);
      root.Length = shareEnd == std::wstring::npos ? path.size() : shareEnd;
      root.Share = path.substr(serverEnd + 1, root.Length - serverEnd - 1);
    }
  } else if (!path.empty() && path[0] == L'\\') {
    root.Kind = TPathRootKind::Rooted;
    root.Length = 1;
  }
  root.Separated = root.Length < path.size() && path[root.Length] == L'\\';
  return root;
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'\\') return folder + name;
  return folder + L'\\' + name;
}

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

int CountBackslashes(const std::wstring& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), L'\\'));
}

std::vector<TPathRow> PathRows(const std::wstring& directory) {
  std::vector<TPathRow> rows;
  if (directory.empty()) return rows;
  const TPathRoot parsed = ParsePathRoot(directory);
  std::wstring root = directory.substr(0, parsed.Length);
  // "C:" and "C:\" alike: the drive's row is its root "C:\".
  if (parsed.Kind == TPathRootKind::Drive) root += L'\\';
  rows.push_back({root, root});
  std::wstring path = root;
  size_t start = parsed.Length;
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

std::wstring LongPathForm(const std::wstring& path) {
  if (path.size() < kLongPathStart) return path;
  const TPathRoot root = ParsePathRoot(path);
  if (root.Kind == TPathRootKind::Drive && root.Letter && root.Separated)
    return PartsNeedNoFolding(path, root.Length + 1) ? L"\\\\?\\" + path : path;
  if (root.Kind == TPathRootKind::Share && !root.IsDevice() && PartsNeedNoFolding(path, 2))
    return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

std::wstring WithoutLongPathPrefix(const std::wstring& path) {
  const TPathRoot root = ParsePathRoot(path);
  // "\\?" alone is a server's name, not the prefix.
  if (root.Kind != TPathRootKind::Share || root.Server != L"?" || path.size() < 4) return path;
  if (UpperAscii(root.Share) == L"UNC" && root.Separated) return L"\\\\" + path.substr(8);
  return path.substr(4);
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
