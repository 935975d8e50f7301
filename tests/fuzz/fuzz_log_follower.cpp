// The log follower against the whole-log reader, and its count of files against lines counted
// to each LF, after every piece: the input is a code page choice, then the pieces (FollowerFuzz.h).
#include "fuzz/FollowerFuzz.h"
#include "fuzz/SyncTestCodePages.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const TAnsiDecoder pages[] = {Latin1Decoder(), ToyDbcsDecoder(), Utf8AnsiDecoder()};
  if (!FollowerMatchesWholeLog(data + 1, size - 1, pages[data[0] % 3])) abort();
  return 0;
}
