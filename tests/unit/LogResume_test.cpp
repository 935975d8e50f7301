// When the log reader reads the log again from its start instead of going on, and when a file
// at the log's name is still the log the run deleted.
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

TEST(LogResume, ADeletedLogLingersOnlyAsTheSameKnownFileAtLeastAsLongWithItsFirstBytes) {
  const TLogIdentity a{7, 100}, b{7, 101}, otherVolume{8, 100};
  const TDeletedLog deleted{a, 5000, "-----\r\n   ROBOCOPY"};
  const TDeletedLog unknown{std::nullopt, 5000, "-----\r\n   ROBOCOPY"};
  const struct {
    const char* what;
    TDeletedLog deleted;
    TFileAtLogName now;
    bool lingers;
  } cases[] = {
      {"as it was", deleted, {a, 5000, "-----\r\n   ROBOCOPY"}, true},
      {"the tool wrote on", deleted, {a, 5100, "-----\r\n   ROBOCOPY"}, true},
      {"a new log that reuses the identity", deleted, {a, 40, "-----\r\n"}, false},
      {"the same identity, shorter", deleted, {a, 4999, "-----\r\n   ROBOCOPY"}, false},
      {"the same identity, other first bytes", deleted, {a, 5000, "=====\r\n   ROBOCOPY"}, false},
      {"another file", deleted, {b, 5000, "-----\r\n   ROBOCOPY"}, false},
      {"another volume", deleted, {otherVolume, 5000, "-----\r\n   ROBOCOPY"}, false},
      {"identity query failed now", deleted, {std::nullopt, 5000, "-----\r\n   ROBOCOPY"}, false},
      {"size query failed now", deleted, {a, std::nullopt, "-----\r\n   ROBOCOPY"}, false},
      {"the deleted log was never identified", unknown, {a, 5000, "-----\r\n   ROBOCOPY"}, false},
      {"an empty log deleted, still empty", {a, 0, ""}, {a, 0, ""}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsLingeringDeletedLog(c.deleted, c.now), c.lingers) << c.what;
}

} // namespace
