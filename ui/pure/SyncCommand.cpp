#include "ui/pure/SyncCommand.h"
#include "funcoes/pure/LetterCase.h"
#include "funcoes/pure/PathText.h"

namespace {

bool EndsWithBackslash(const std::wstring& text) {
  return !text.empty() && text.back() == L'\\';
}

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

// "C:" alone: a drive letter and its colon.
bool IsBareDrive(const std::wstring& folder) {
  const TPathRoot root = ParsePathRoot(folder);
  return root.Kind == TPathRootKind::Drive && root.Letter && root.Length == folder.size();
}

// Form in which two folders are compared: separators unified and collapsed, long-path prefix
// dropped, no trailing separator, letters folded.
std::wstring ComparableFolder(const std::wstring& folder) {
  std::wstring path = folder;
  for (wchar_t& c : path)
    c = c == L'/' ? L'\\' : UpcaseChar(c);
  path = WithoutLongPathPrefix(path);
  std::wstring result;
  result.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    // A share's leading "\\" is two separators by design; elsewhere "\\" means "\".
    if (path[i] == L'\\' && i >= 2 && result.back() == L'\\') continue;
    result.push_back(path[i]);
  }
  while (EndsWithBackslash(result))
    result.pop_back();
  return result;
}

// True when inner is outer itself or a folder below it.
bool ContainsFolder(const std::wstring& outer, const std::wstring& inner) {
  if (inner.size() < outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
  return inner.size() == outer.size() || inner[outer.size()] == L'\\';
}

} // namespace

std::wstring PrepareSyncFolder(const std::wstring& folder) {
  std::wstring result = folder;
  while (EndsWithBackslash(result))
    result.pop_back();
  return result;
}

bool IsQuotableFolder(const std::wstring& folder) {
  return folder.find_first_of(std::wstring(L"\"\0", 2)) == std::wstring::npos &&
         !EndsWithBackslash(folder);
}

bool IsAbsoluteFolder(const std::wstring& folder) {
  const TPathRoot root = ParsePathRoot(folder);
  if (root.Kind == TPathRootKind::Drive)
    return root.Letter && (root.Length == folder.size() || root.Separated);
  // "\\server\share": a server name, then a share name, neither empty; "\\?\" and "\\.\" are
  // device forms.
  return root.NamesVolume() && !root.IsDevice();
}

std::wstring SyncFolderArgument(const std::wstring& folder) {
  return IsBareDrive(folder) ? folder + L"\\." : folder;
}

std::wstring BuildSyncArguments(const std::wstring& source, const std::wstring& destination,
                                const std::wstring& logPath) {
  return Quoted(SyncFolderArgument(source)) + L" " + Quoted(SyncFolderArgument(destination)) +
         L" /MIR /R:0 /W:0 /TEE /ETA /XA:SH /XD " + Quoted(source + L"\\$RECYCLE.BIN") + L" " +
         Quoted(source + L"\\System Volume Information") + L" /LOG:" + Quoted(logPath) +
         L" /UNICODE /MOT:2 /MON:1";
}

std::wstring BuildSyncCommand(const std::wstring& source, const std::wstring& destination,
                              const std::wstring& logPath) {
  return std::wstring(kSyncProgram) + L" " + BuildSyncArguments(source, destination, logPath);
}

std::wstring BuildSyncProcessCommandLine(const std::wstring& programPath,
                                         const std::wstring& arguments) {
  return Quoted(programPath) + L" " + arguments;
}

std::wstring BuildSyncLogPath(const std::wstring& tempFolder) {
  std::wstring path = tempFolder.substr(0, tempFolder.find(L'\0'));
  if (!EndsWithBackslash(path)) path += L'\\';
  return path + kSyncLogName;
}

bool FoldersOverlap(const std::wstring& a, const std::wstring& b) {
  const std::wstring first = ComparableFolder(a);
  const std::wstring second = ComparableFolder(b);
  if (first.empty() || second.empty()) return false;
  return ContainsFolder(first, second) || ContainsFolder(second, first);
}
