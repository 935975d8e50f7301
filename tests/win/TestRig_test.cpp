#include <windows.h>
#include <gtest/gtest.h>

TEST(TestRig, HelperProgramsAreReachableFromWindows) {
  EXPECT_NE(GetFileAttributesW(REPLIMAR_SLEEPER_PATH), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW(REPLIMAR_STANDIN_PATH), INVALID_FILE_ATTRIBUTES);
}
