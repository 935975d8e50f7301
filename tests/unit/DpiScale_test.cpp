#include "widgets/pure/DpiScale.h"
#include <gtest/gtest.h>

namespace {

struct TScaleCase {
  int Value, Dpi, Expected;
};

// The answers MulDiv(value, dpi, 96) gives: the nearest pixel, halves away from zero.
TEST(DpiScale, RoundsToTheNearestPixelAsMulDiv) {
  const TScaleCase cases[] = {
      {16, 96, 16},    {16, 144, 24}, {88, 144, 132},        {26, 120, 33},
      {3, 168, 5},     {1, 144, 2},   {1, 120, 1},           {0, 192, 0},
      {-26, 120, -33}, {-1, 144, -2}, {100000, 480, 500000},
  };
  for (const TScaleCase& c : cases)
    EXPECT_EQ(Scale(c.Value, c.Dpi), c.Expected) << c.Value << " at " << c.Dpi << " dpi";
}

TEST(DpiScale, DesignDpiKeepsTheLength) {
  for (const int value : {-7, 0, 1, 13, 640})
    EXPECT_EQ(Scale(value, kDesignDpi), value);
}

} // namespace
