#pragma once
// Whether a pass of the log reader may go on from the bytes it has already read, or must read
// the log again from its first byte; and whether a file at the log's name is still the log the
// run deleted.
#include <cstdint>
#include <optional>
#include <string>

// Which file the log is: the volume and the file's index on it.
struct TLogIdentity {
  uint32_t Volume = 0;
  uint64_t Index = 0;
  bool operator==(const TLogIdentity&) const = default;
};

// What a pass finds, against what the previous pass left.
struct TLogResumeFacts {
  std::optional<TLogIdentity> Before; // unknown before the first pass or after a restart
  std::optional<TLogIdentity> Now;    // unknown when the system could not say
  int64_t Size = 0;                   // the log's size now
  int64_t Seen = 0;                   // bytes read so far
  bool HeadSame = true;               // the first bytes read so far are still there
  bool TailSame = true;               // the last bytes read so far are still there
};

// True when the log must be read again from its start: another file, a file the system cannot
// identify, a log that shrank, or one whose first or last bytes read so far have changed. A log
// rewritten in place, at its size or larger, with its first and last bytes read unchanged is
// taken as grown: only those bytes are compared, so that a pass costs what was appended.
inline bool MustRereadLog(const TLogResumeFacts& facts) {
  if (!facts.Before || !facts.Now || !(*facts.Before == *facts.Now)) return true;
  return facts.Size < facts.Seen || !facts.HeadSame || !facts.TailSame;
}

// The log the run deleted, as it was then. While the tool still holds it with delete sharing,
// its deletion is pending and the system may still show it under its name.
struct TDeletedLog {
  std::optional<TLogIdentity> Identity; // unknown when the system could not say
  int64_t Size = 0;
  std::string Head; // its first bytes
};

// A file that a pass finds at the log's name after the run deleted the log.
struct TFileAtLogName {
  std::optional<TLogIdentity> Identity; // unknown when the system could not say
  std::optional<int64_t> Size;          // likewise
  std::string Head;                     // its first bytes, as many as the deleted log's head holds
};

// True when the file at the log's name is still the deleted log, its name lingering: the same
// known identity, at least the size it had and the same first bytes. A new log may get the same
// identity at once (Wine numbers files by inode, which the system reuses), but it starts smaller
// or with other bytes.
inline bool IsLingeringDeletedLog(const TDeletedLog& deleted, const TFileAtLogName& now) {
  if (!deleted.Identity || !now.Identity || !(*deleted.Identity == *now.Identity)) return false;
  return now.Size && *now.Size >= deleted.Size && now.Head == deleted.Head;
}
