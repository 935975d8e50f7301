#include "ui/pure/SyncCommand.h"
#include "funcoes/pure/PathText.h"
#include <cstdint>

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
    c = c == L'/' ? L'\\' : FoldNameCase(c);
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
                                         const std::wstring& source,
                                         const std::wstring& destination,
                                         const std::wstring& logPath) {
  return Quoted(programPath) + L" " + BuildSyncArguments(source, destination, logPath);
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

wchar_t FoldNameCase(wchar_t c) {
  const auto u = static_cast<uint32_t>(c);
  auto lowerIsOdd = [u](uint32_t first, uint32_t last) { return u >= first && u <= last && u % 2; };
  auto lowerIsEven = [u](uint32_t first, uint32_t last) {
    return u >= first && u <= last && u % 2 == 0;
  };
  uint32_t r = u;
  if (u >= 0x61 && u <= 0x7A)
    r = u - 0x20;
  else if (u < 0xE0)
    r = u;
  else if (u <= 0xFE)
    r = u == 0xF7 ? u : u - 0x20;
  else if (u == 0xFF)
    r = 0x178;
  // Latin Extended-A: pairs of capital and small letter; dotless i and long s are left alone,
  // as their capitals are ASCII letters of other words.
  else if (lowerIsOdd(0x100, 0x12F) || lowerIsOdd(0x132, 0x137) || lowerIsEven(0x139, 0x148) ||
           lowerIsOdd(0x14A, 0x177) || lowerIsEven(0x179, 0x17E))
    r = u - 1;
  // Greek.
  else if ((u >= 0x3B1 && u <= 0x3C1) || (u >= 0x3C3 && u <= 0x3CB))
    r = u - 0x20;
  else if (u == 0x3C2)
    r = 0x3A3;
  else if (u == 0x3AC)
    r = 0x386;
  else if (u >= 0x3AD && u <= 0x3AF)
    r = u - 0x25;
  else if (u == 0x3CC)
    r = 0x38C;
  else if (u == 0x3CD || u == 0x3CE)
    r = u - 0x3F;
  // Cyrillic.
  else if (u >= 0x430 && u <= 0x44F)
    r = u - 0x20;
  else if (u >= 0x450 && u <= 0x45F)
    r = u - 0x50;
  else if (lowerIsOdd(0x460, 0x481) || lowerIsOdd(0x48A, 0x4BF) || lowerIsEven(0x4C1, 0x4CE) ||
           lowerIsOdd(0x4D0, 0x52F))
    r = u - 1;
  else if (u == 0x4CF)
    r = 0x4C0;
  return static_cast<wchar_t>(r);
}
