// The log follower against the whole-log reader after every piece: the input is a code page
// choice, then pieces, each a control byte (its size, and whether the log starts anew before it)
// followed by its bytes.
#include "fuzz/SyncTestCodePages.h"
#include "ui/pure/LogFollower.h"
#include "ui/pure/LogText.h"
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const TAnsiDecoder ansi = data[0] & 1 ? ToyDbcsDecoder() : Latin1Decoder();
  TLogFollower follower(ansi);
  std::string log;
  size_t at = 1;
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
    if (!(follower.Summary() == SummarizeLog(log, ansi))) abort();
    if (follower.BytesSeen() != static_cast<int64_t>(log.size())) abort();
  }
  return 0;
}
