#pragma once
// One mirror pass of the source onto the destination, and the snapshot the monitor compares.
#include "funcoes/pure/Exception.h"
#include "wine-standin/StandinLog.h"
#include "wine-standin/pure/StandinArgs.h"
#include "wine-standin/pure/StandinLogText.h"
#include "wine-standin/pure/StandinSnapshot.h"
#include <windows.h>
#include <string>
#include <vector>

// A failed file system call on one item; the pass logs it and goes on (no retries).
class EStandinIoError : public EInOutError {
public:
  EStandinIoError(DWORD code, std::wstring operation, std::wstring path);
  DWORD Code() const noexcept { return FCode; }
  const std::wstring& Operation() const noexcept { return FOperation; }
  const std::wstring& Path() const noexcept { return FPath; }

private:
  DWORD FCode;
  std::wstring FOperation, FPath;
};

struct TStandinEntry {
  std::wstring Name;
  DWORD Attributes = 0;
  uint64_t Size = 0;
  uint64_t WriteTime = 0; // FILETIME ticks
  bool IsFolder() const noexcept { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The system's full form of a path given on the command line, without a trailing separator
// except for a drive root ("C:\"). A bare "C:" is drive C's current folder, not its root.
std::wstring StandinFullPath(const std::wstring& given);

class TStandinMirror {
public:
  TStandinMirror(const TStandinOptions& options, TStandinLog& log);

  // Copies new and changed files, creates folders and removes what the destination has beyond
  // the source; writes the header, a line per folder and file, and the summary.
  TStandinTotals RunPass();
  // Names, sizes and times of what the mirror copies, below the source folder. A folder that
  // cannot be listed contributes nothing; it shows up once it can.
  TStandinSnapshot Snapshot() const;

  const std::wstring& Source() const noexcept { return FSource; }
  const std::wstring& Destination() const noexcept { return FDestination; }

private:
  void MirrorFolder(const std::wstring& source, const std::wstring& destination, bool created,
                    TStandinTotals& totals);
  void CopyOne(const std::wstring& source, const std::wstring& destination,
               const TStandinEntry& entry, const TStandinEntry* existing, TStandinTotals& totals);
  void RemoveExtra(const std::wstring& destination, const TStandinEntry& entry,
                   TStandinTotals& totals);
  bool IsSkippedFile(const TStandinEntry& entry) const;
  bool IsExcludedFolder(const std::wstring& sourcePath, const std::wstring& name) const;
  bool IsSkippedFolder(const std::wstring& sourcePath, const TStandinEntry& entry) const;
  void SnapshotFolder(const std::wstring& folder, const std::wstring& relative,
                      TStandinSnapshot& snapshot) const;
  void LogError(const EStandinIoError& error);

  const TStandinOptions& FOptions;
  TStandinLog& FLog;
  std::wstring FSource, FDestination;
  std::vector<std::wstring> FExcludedPaths, FExcludedNames;
};
