#pragma once
// Follows the mirroring tool's log from pass to pass, reading only what was appended since the
// previous pass. A log that shrank, vanished, was replaced by another file or rewritten in its
// first or last bytes read so far is read again from its first byte (MustRereadLog), so every
// pass shows what a reading of the whole log would show.
#include "funcoes/Handles.h"
#include "ui/pure/LogFollower.h"
#include "ui/pure/LogResume.h"
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class TLogReader {
public:
  explicit TLogReader(std::wstring path);
  // One pass: nothing when no file is at the path or its deletion is pending; otherwise the
  // summary of the whole log. A log that exists but cannot be opened raises EFOpenError
  // "Cannot open file "%s". %s". The file is open only during the call.
  std::optional<TLogSummary> Pass();
  // Looks at the log as a pass does, which forgets a deleted log once its name is free or
  // another file has it, and gives its size from the file itself; 0 when it is absent, pending
  // deletion or cannot be opened (the next pass reports that).
  int64_t CheckSize();
  // Tells the reader that the run deleted the log. While the tool still holds it with delete
  // sharing, its deletion is pending: the system may still show the name (Wine opens it as
  // before, Windows refuses to open it). Until another file takes the name, the log counts as
  // absent.
  void NoteDeletion();

private:
  static constexpr size_t kHeadSize = 4096, kTailSize = 4096;

  void Restart();
  // The open log, or nothing when it is absent or pending deletion; error is set when it exists
  // but cannot be opened.
  UniqueFileHandle Open(DWORD& error);
  // Nothing when the system cannot say which file it is.
  static std::optional<TLogIdentity> IdentityOf(HANDLE file);

  std::wstring FPath;
  TLogFollower FFollower;
  std::optional<TLogIdentity> FIdentity;
  std::string FHead; // the log's first bytes, to notice it rewritten in place
  std::string FTail; // the last bytes read, likewise
  // The deleted log while its name may linger; nothing once the name is free or another file
  // has taken it.
  std::optional<TDeletedLog> FDeleted;
};
