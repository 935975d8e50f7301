#include "widgets/pure/GaugeMath.h"
#include <climits>
#include <gtest/gtest.h>

struct PercentCase {
  int32_t progress, minValue, maxValue;
  int expected;
};

TEST(GaugeMath, PercentTruncatesTowardZero) {
  const PercentCase cases[] = {
      {0, 0, 100, 0},
      {2, 0, 3, 66},
      {199, 0, 200, 99},
      {200, 0, 200, 100},
      {5, 0, 0, 0},
      {0, 0, 0, 0},
      {INT_MAX, 0, INT_MAX, 100},
      {1, 0, INT_MAX, 0},
      {INT_MAX - 1, 0, INT_MAX, 99},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GaugePercent(c.progress, c.minValue, c.maxValue), c.expected)
        << c.progress << "/" << c.maxValue;
}

TEST(GaugeMath, ProgressIsClampedIntoItsRange) {
  EXPECT_EQ(GaugeClamp(150, 0, 100), 100);
  EXPECT_EQ(GaugeClamp(-3, 0, 100), 0);
  EXPECT_EQ(GaugeClamp(7, 0, 0), 0);
  EXPECT_EQ(GaugeClamp(42, 0, 100), 42);
}

TEST(GaugeMath, BarNeverLeavesTheInnerArea) {
  EXPECT_EQ(GaugeBarWidth(0, 956), 0);
  EXPECT_EQ(GaugeBarWidth(50, 956), 478);
  EXPECT_EQ(GaugeBarWidth(100, 956), 956);
  EXPECT_EQ(GaugeBarWidth(100, 0), 0);
}

// On the window's gauge (958 pixels wide, 956 inside its frame) the bar ends at
// percent * 957 / 100, a pixel further than percent * 956 / 100 at 66, 67 and 99 %; at 100 %
// it stops at the inner edge.
TEST(GaugeMath, BarOfTheRealGaugeCountsTheInnerWidthPlusOne) {
  const struct { int percent, expected; } cases[] = {{66, 631}, {67, 641}, {99, 947}, {100, 956}};
  for (const auto& c : cases)
    EXPECT_EQ(GaugeBarWidth(c.percent, 956), c.expected) << c.percent << "%";
}
