// When the log reader reads the log again from its start instead of going on.
#include "ui/pure/LogResume.h"
#include <gtest/gtest.h>

namespace {

TEST(LogResume, GoesOnOnlyWithTheSameKnownFileGrownAndItsEndsUnchanged) {
  const TLogIdentity a{7, 100}, b{7, 101}, otherVolume{8, 100};
  const struct {
    const char* what;
    TLogResumeFacts facts;
    bool reread;
  } cases[] = {
      {"grown", {a, a, 200, 100, true, true}, false},
      {"unchanged", {a, a, 100, 100, true, true}, false},
      {"first pass", {std::nullopt, a, 100, 0, true, true}, true},
      {"identity query failed", {a, std::nullopt, 200, 100, true, true}, true},
      {"another file", {a, b, 200, 100, true, true}, true},
      {"another volume", {a, otherVolume, 200, 100, true, true}, true},
      {"shrank", {a, a, 99, 100, true, true}, true},
      {"start rewritten", {a, a, 200, 100, false, true}, true},
      {"end rewritten", {a, a, 200, 100, true, false}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MustRereadLog(c.facts), c.reread) << c.what;
}

} // namespace
