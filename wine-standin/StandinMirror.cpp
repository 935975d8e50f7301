#include "wine-standin/StandinMirror.h"
#include "funcoes/Folders.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/PathText.h"
#include "wine-standin/pure/StandinModes.h"
#include "wine-standin/pure/StandinPaths.h"
#include <algorithm>
#include <map>

namespace {

std::wstring Extended(const std::wstring& path) {
  return ExtendedLengthPath(path);
}

// The key under which a name is found again whatever its case, as the file system does.
std::wstring FoldCase(const std::wstring& name) {
  std::wstring upper(name.size(), L'\0');
  const int size = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(),
                                 static_cast<int>(name.size()), upper.data(),
                                 static_cast<int>(upper.size()), nullptr, nullptr, 0);
  return size == static_cast<int>(name.size()) ? upper : name;
}

uint64_t Ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

TStandinTime Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// The entries of a folder, "." and ".." left out, sorted by name.
std::vector<TStandinEntry> ListFolder(const std::wstring& folder, const wchar_t* operation) {
  std::vector<TStandinEntry> entries;
  WIN32_FIND_DATAW data{};
  UniqueFind find(FindFirstFileExW(Extended(JoinFolder(folder, L"*")).c_str(), FindExInfoBasic,
                                   &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH));
  if (!find) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return entries; // empty root
    throw EStandinIoError(error, operation, WithTrailingSeparator(folder));
  }
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({name, data.dwFileAttributes,
                       (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                       Ticks(data.ftLastWriteTime)});
  } while (FindNextFileW(find.Get(), &data));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES)
    throw EStandinIoError(error, operation, WithTrailingSeparator(folder));
  std::sort(entries.begin(), entries.end(),
            [](const TStandinEntry& a, const TStandinEntry& b) { return a.Name < b.Name; });
  return entries;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(Extended(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and any missing parents; true when it did not exist.
bool EnsureFolder(const std::wstring& path) {
  if (IsFolder(path)) return false;
  const size_t cut = path.find_last_of(L'\\');
  if (cut != std::wstring::npos && cut > 0) {
    const std::wstring parent = TrimTrailingSeparators(path.substr(0, cut + 1));
    if (parent != path) EnsureFolder(parent);
  }
  if (!CreateDirectoryW(Extended(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    throw EStandinIoError(GetLastError(), L"Creating Destination Directory",
                          WithTrailingSeparator(path));
  return true;
}

void DeleteOneFile(const std::wstring& path) {
  SetFileAttributesW(Extended(path).c_str(), FILE_ATTRIBUTE_NORMAL); // read-only would refuse
  if (!DeleteFileW(Extended(path).c_str()))
    throw EStandinIoError(GetLastError(), L"Deleting Extra File", path);
}

// Removes a folder with everything below it; links to folders are removed, not entered.
// Answers the number of entries removed below it.
int64_t RemoveTree(const std::wstring& folder) {
  int64_t removed = 0;
  for (const TStandinEntry& entry : ListFolder(folder, L"Scanning Extra Directory")) {
    const std::wstring path = JoinFolder(folder, entry.Name);
    if (entry.IsFolder() && !(entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      removed += RemoveTree(path);
    } else if (entry.IsFolder()) {
      if (!RemoveDirectoryW(Extended(path).c_str()))
        throw EStandinIoError(GetLastError(), L"Deleting Extra Directory", path);
    } else {
      DeleteOneFile(path);
    }
    ++removed;
  }
  SetFileAttributesW(Extended(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!RemoveDirectoryW(Extended(folder).c_str()))
    throw EStandinIoError(GetLastError(), L"Deleting Extra Directory",
                          WithTrailingSeparator(folder));
  return removed;
}

} // namespace

EStandinIoError::EStandinIoError(DWORD code, std::wstring operation, std::wstring path)
    : EInOutError(operation + L" " + path + L": " + SysErrorMessage(code)), FCode(code),
      FOperation(std::move(operation)), FPath(std::move(path)) {}

// Resolved as any Win32 program resolves a path: a bare "C:" is the current folder of drive C.
std::wstring StandinFullPath(const std::wstring& given) {
  const std::wstring& path = given;
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  const DWORD length = size ? GetFullPathNameW(path.c_str(), size, full.data(), nullptr) : 0;
  if (length == 0 || length >= size)
    throw EInOutError(L"Invalid path \"" + given + L"\": " + SysErrorMessage(GetLastError()));
  full.resize(length);
  return TrimTrailingSeparators(full);
}

TStandinMirror::TStandinMirror(const TStandinOptions& options, TStandinLog& log)
    : FOptions(options), FLog(log), FSource(StandinFullPath(options.Source)),
      FDestination(StandinFullPath(options.Destination)) {
  for (const std::wstring& excluded : options.ExcludedDirs) {
    if (IsBareFolderName(excluded))
      FExcludedNames.push_back(excluded);
    else
      FExcludedPaths.push_back(StandinFullPath(excluded));
  }
}

void TStandinMirror::LogError(const EStandinIoError& error) {
  FLog.Write(FormatErrorLines(FLog.Words(), Now(), error.Code(), error.Operation(), error.Path(),
                              SysErrorMessage(error.Code())));
}

bool TStandinMirror::IsSkippedFile(const TStandinEntry& entry) const {
  return (entry.Attributes & FOptions.ExcludedAttributes) != 0;
}

bool TStandinMirror::IsExcludedFolder(const std::wstring& sourcePath,
                                      const std::wstring& name) const {
  // A destination inside the source would be copied into itself.
  if (SameFolder(sourcePath, FDestination)) return true;
  for (const std::wstring& path : FExcludedPaths)
    if (SameFolder(sourcePath, path)) return true;
  for (const std::wstring& excluded : FExcludedNames)
    if (SameFolder(name, excluded)) return true;
  return false;
}

bool TStandinMirror::IsSkippedFolder(const std::wstring& sourcePath,
                                     const TStandinEntry& entry) const {
  // Links to folders are not followed: a link back up the tree would never end.
  return (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
         IsExcludedFolder(sourcePath, entry.Name);
}

TStandinTotals TStandinMirror::RunPass() {
  TStandinTotals totals;
  FLog.Write(FormatHeader(FLog.Words(), FOptions, FSource, FDestination, Now()));
  const DWORD attributes = GetFileAttributesW(Extended(FSource).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY;
    LogError(EStandinIoError(error, L"Accessing Source Directory", WithTrailingSeparator(FSource)));
    ++totals.Dirs.Failed;
  } else {
    try {
      const bool created = EnsureFolder(FDestination);
      MirrorFolder(FSource, FDestination, created, totals);
    } catch (const EStandinIoError& error) {
      LogError(error);
      ++totals.Dirs.Failed;
    }
  }
  FLog.Write(FormatSummary(FLog.Words(), totals, Now()));
  return totals;
}

void TStandinMirror::MirrorFolder(const std::wstring& source, const std::wstring& destination,
                                  bool created, TStandinTotals& totals) {
  ++totals.Dirs.Total;
  std::vector<TStandinEntry> sourceEntries, destinationEntries;
  try {
    sourceEntries = ListFolder(source, L"Scanning Source Directory");
    if (!created) destinationEntries = ListFolder(destination, L"Scanning Destination Directory");
  } catch (const EStandinIoError& error) {
    // Without both listings nothing here can be decided, least of all what is extra.
    LogError(error);
    ++totals.Dirs.Failed;
    return;
  }
  if (created)
    ++totals.Dirs.Copied;
  else
    ++totals.Dirs.Skipped;

  std::map<std::wstring, size_t> destinationByName;
  for (size_t i = 0; i < destinationEntries.size(); ++i)
    destinationByName[FoldCase(destinationEntries[i].Name)] = i;
  std::vector<bool> inSource(destinationEntries.size());
  std::vector<const TStandinEntry*> counterpart(sourceEntries.size());
  int64_t files = 0;
  for (size_t i = 0; i < sourceEntries.size(); ++i) {
    const auto found = destinationByName.find(FoldCase(sourceEntries[i].Name));
    if (found != destinationByName.end()) {
      // Skipped items keep their destination counterpart too: it is not extra.
      inSource[found->second] = true;
      counterpart[i] = &destinationEntries[found->second];
    }
    if (!sourceEntries[i].IsFolder() && !IsSkippedFile(sourceEntries[i])) ++files;
  }
  FLog.Write(FormatFolderLine(FLog.Words(), created, files, source));

  // Extras first, as they may free the space the copies need.
  for (size_t i = 0; i < destinationEntries.size(); ++i) {
    const TStandinEntry& entry = destinationEntries[i];
    if (inSource[i]) continue;
    // A folder whose source counterpart is excluded is left alone, and so is the source
    // itself when it lies inside the destination.
    if (entry.IsFolder() && (IsExcludedFolder(JoinFolder(source, entry.Name), entry.Name) ||
                             SameFolder(JoinFolder(destination, entry.Name), FSource)))
      continue;
    RemoveExtra(destination, entry, totals);
  }

  for (size_t i = 0; i < sourceEntries.size(); ++i) {
    const TStandinEntry& entry = sourceEntries[i];
    if (entry.IsFolder() || IsSkippedFile(entry)) continue;
    const TStandinEntry* existing = counterpart[i];
    if (existing && existing->IsFolder()) {
      RemoveExtra(destination, *existing, totals);
      existing = nullptr;
    }
    CopyOne(source, destination, entry, existing, totals);
  }

  for (size_t i = 0; i < sourceEntries.size(); ++i) {
    const TStandinEntry& entry = sourceEntries[i];
    const std::wstring sourcePath = JoinFolder(source, entry.Name);
    if (!entry.IsFolder() || IsSkippedFolder(sourcePath, entry)) continue;
    const std::wstring destinationPath = JoinFolder(destination, entry.Name);
    const TStandinEntry* existing = counterpart[i];
    try {
      if (existing && !existing->IsFolder()) {
        RemoveExtra(destination, *existing, totals);
        existing = nullptr;
      }
      if (!existing && !CreateDirectoryW(Extended(destinationPath).c_str(), nullptr))
        throw EStandinIoError(GetLastError(), L"Creating Destination Directory",
                              WithTrailingSeparator(destinationPath));
    } catch (const EStandinIoError& error) {
      LogError(error);
      ++totals.Dirs.Total;
      ++totals.Dirs.Failed;
      continue;
    }
    MirrorFolder(sourcePath, destinationPath, existing == nullptr, totals);
  }
}

void TStandinMirror::CopyOne(const std::wstring& source, const std::wstring& destination,
                             const TStandinEntry& entry, const TStandinEntry* existing,
                             TStandinTotals& totals) {
  const auto size = static_cast<int64_t>(entry.Size);
  ++totals.Files.Total;
  totals.Bytes.Total += size;
  TFileAction action = TFileAction::NewFile;
  if (existing) {
    if (existing->Size == entry.Size && existing->WriteTime == entry.WriteTime) {
      ++totals.Files.Skipped;
      totals.Bytes.Skipped += size;
      return;
    }
    action = entry.WriteTime > existing->WriteTime   ? TFileAction::Newer
             : entry.WriteTime < existing->WriteTime ? TFileAction::Older
                                                     : TFileAction::Changed;
  }
  const std::wstring from = JoinFolder(source, entry.Name);
  const std::wstring to = JoinFolder(destination, existing ? existing->Name : entry.Name);
  FLog.Write(FormatFileHead(FLog.Words(), action, size, entry.Name));
  // The first piece goes before the data; an empty file has only its closing one.
  const std::vector<std::wstring> pieces = ProgressPieces(entry.Size);
  const size_t before = pieces.size() > 1 ? 1 : 0;
  if (before) FLog.Write(pieces.front());
  try {
    // A hidden or read-only destination file would refuse to be overwritten.
    if (existing) SetFileAttributesW(Extended(to).c_str(), FILE_ATTRIBUTE_NORMAL);
    // Copies the data, the attributes and the last-write time that the next pass compares.
    if (!CopyFileExW(Extended(from).c_str(), Extended(to).c_str(), nullptr, nullptr, nullptr, 0))
      throw EStandinIoError(GetLastError(), L"Copying File", from);
    for (size_t i = before; i < pieces.size(); ++i)
      FLog.Write(pieces[i]);
    ++totals.Files.Copied;
    totals.Bytes.Copied += size;
  } catch (const EStandinIoError& error) {
    if (before) FLog.Write(kProgressAbort);
    LogError(error);
    ++totals.Files.Failed;
    totals.Bytes.Failed += size;
  }
}

void TStandinMirror::RemoveExtra(const std::wstring& destination, const TStandinEntry& entry,
                                 TStandinTotals& totals) {
  const std::wstring path = JoinFolder(destination, entry.Name);
  try {
    if (entry.IsFolder()) {
      int64_t removed = 0;
      if (!(entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        removed = RemoveTree(path);
      else if (!RemoveDirectoryW(Extended(path).c_str())) // the link only, not its target
        throw EStandinIoError(GetLastError(), L"Deleting Extra Directory",
                              WithTrailingSeparator(path));
      ++totals.Dirs.Extras;
      FLog.Write(FormatExtraFolderLine(FLog.Words(), removed, path));
    } else {
      ++totals.Files.Extras;
      totals.Bytes.Extras += static_cast<int64_t>(entry.Size);
      FLog.Write(FormatFileLine(FLog.Words(), TFileAction::ExtraFile,
                                static_cast<int64_t>(entry.Size), entry.Name));
      DeleteOneFile(path);
    }
  } catch (const EStandinIoError& error) {
    LogError(error);
    if (entry.IsFolder())
      ++totals.Dirs.Failed;
    else
      ++totals.Files.Failed;
  }
}

TStandinSnapshot TStandinMirror::Snapshot() const {
  TStandinSnapshot snapshot;
  if (IsFolder(FSource)) SnapshotFolder(FSource, L"", snapshot);
  return snapshot;
}

void TStandinMirror::SnapshotFolder(const std::wstring& folder, const std::wstring& relative,
                                    TStandinSnapshot& snapshot) const {
  std::vector<TStandinEntry> entries;
  try {
    entries = ListFolder(folder, L"Scanning Source Directory");
  } catch (const EStandinIoError&) {
    return; // documented: an unreadable folder counts as empty until it can be read
  }
  for (const TStandinEntry& entry : entries) {
    const std::wstring path = JoinFolder(folder, entry.Name);
    const std::wstring name = relative.empty() ? entry.Name : relative + L"\\" + entry.Name;
    if (entry.IsFolder()) {
      if (IsSkippedFolder(path, entry)) continue;
      snapshot[name] = {true, 0, 0};
      SnapshotFolder(path, name, snapshot);
    } else if (!IsSkippedFile(entry)) {
      snapshot[name] = {false, entry.Size, entry.WriteTime};
    }
  }
}
