#include "widgets/Style.h"
#include <gtest/gtest.h>

// This test program carries no style resource: the lookup fails quietly (no box asked for)
// and the plain system look stays.
TEST(StyleManager, AMissingStyleLeavesThePlainSystemLook) {
  StyleManager::Reset();
  EXPECT_FALSE(StyleManager::TrySetStyle(L"Glossy", false));
  EXPECT_EQ(StyleManager::Active(), nullptr);
  EXPECT_EQ(FaceColour(), GetSysColor(COLOR_BTNFACE));
}
