#pragma once
// Follows the mirroring tool's log from pass to pass, reading only what was appended since the
// previous pass. A log that shrank, vanished, was replaced by another file or rewritten from
// its start is read again from its first byte, so every pass shows what a reading of the whole
// log would show.
#include "ui/pure/LogFollower.h"
#include <cstdint>
#include <optional>
#include <string>

class TLogReader {
public:
  explicit TLogReader(std::wstring path);
  // One pass: nothing when no file is at the path; otherwise the summary of the whole log.
  // A log that exists but cannot be opened raises EFOpenError "Cannot open file "%s". %s".
  // The file is open only during the call.
  std::optional<TLogSummary> Pass();

private:
  struct TIdentity {
    uint32_t Volume = 0;
    uint64_t Index = 0;
    bool operator==(const TIdentity&) const = default;
  };
  void Restart();

  std::wstring FPath;
  TLogFollower FFollower;
  std::optional<TIdentity> FIdentity;
  std::string FHead; // the log's first bytes, to notice it rewritten in place
};
