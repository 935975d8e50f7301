#include "widgets/Style.h"
#include <gtest/gtest.h>

// A style the program does not carry: the lookup fails quietly (no box asked for) and the
// plain system look stays.
TEST(StyleManager, AMissingStyleLeavesThePlainSystemLook) {
  StyleManager::Reset();
  EXPECT_FALSE(StyleManager::TrySetStyle(L"Fosco", false));
  EXPECT_EQ(StyleManager::Active(), nullptr);
  EXPECT_EQ(FaceColour(), GetSysColor(COLOR_BTNFACE));
}
