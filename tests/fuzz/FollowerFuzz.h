#pragma once
// The body of the log follower's fuzz target: the follower against the whole-log reader, and
// its count against lines counted to each LF, after every piece. The input is pieces, each a
// control byte (its size, and whether the log starts anew before it) followed by its bytes. The
// native target runs it with the test code pages; the Win32 tests run it with the shipped decoder
// of the system's code pages.
#include "ui/pure/LogFollower.h"
#include "ui/pure/LogText.h"
#include <algorithm>
#include <cstdint>
#include <cstddef>
#include <string>

// False at the first piece after which the follower and the whole-log reader differ; the log
// so far then goes to failedLog when given.
inline bool FollowerMatchesWholeLog(const uint8_t* data, size_t size, const TAnsiDecoder& ansi,
                                    std::string* failedLog = nullptr) {
  TLogFollower follower(ansi);
  std::string log;
  size_t at = 0;
  while (at < size) {
    const uint8_t control = data[at++];
    if ((control & 0xC0) == 0xC0) {
      // The log was replaced: what follows is a new log, often its old start grown again.
      follower.Reset();
      log.resize(log.size() * (control & 0x0F) / 16);
      follower.Feed(log);
    }
    const size_t length = std::min<size_t>(control & 0x3F, size - at);
    const std::string_view piece(reinterpret_cast<const char*>(data) + at, length);
    at += length;
    log.append(piece);
    follower.Feed(piece);
    // The count's own rule, apart from both: lines to each LF that hold the marker.
    const std::wstring text = DecodeLogText(log, ansi);
    int32_t marked = 0;
    for (size_t start = 0; start < text.size();) {
      const size_t end = std::min(text.find(L'\n', start), text.size());
      if (std::find(text.begin() + static_cast<ptrdiff_t>(start),
                    text.begin() + static_cast<ptrdiff_t>(end),
                    L'%') != text.begin() + static_cast<ptrdiff_t>(end))
        ++marked;
      start = end + 1;
    }
    if (!(follower.Summary() == SummarizeLog(log, ansi)) || follower.Summary().Marked != marked ||
        follower.BytesSeen() != static_cast<int64_t>(log.size())) {
      if (failedLog) *failedLog = log;
      return false;
    }
  }
  return true;
}
