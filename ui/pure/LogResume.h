#pragma once
// Whether a pass of the log reader may go on from the bytes it has already read, or must read
// the log again from its first byte.
#include <cstdint>
#include <optional>

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
