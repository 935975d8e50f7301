#include "funcoes/pure/AsciiCase.h"
#include <gtest/gtest.h>

TEST(AsciiCase, UpperCasingTouchesAsciiLettersOnly) {
  EXPECT_EQ(UpperAscii(L"robocopy.exe"), L"ROBOCOPY.EXE");
  EXPECT_EQ(UpperAscii(L"`az{@AZ[09"), L"`AZ{@AZ[09");
  // é, ı and ſ have capitals (or case foldings) outside ASCII; they stay as they are.
  EXPECT_EQ(UpperAscii(L"robocop\u00e9 \u0131 \u017f"), L"ROBOCOP\u00e9 \u0131 \u017f");
  EXPECT_EQ(UpperAscii(L""), L"");
}
