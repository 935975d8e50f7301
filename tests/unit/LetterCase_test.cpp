#include "funcoes/pure/LetterCase.h"
#include <gtest/gtest.h>
#include <cstdint>

TEST(LetterCase, UpperCasingTouchesAsciiLettersOnly) {
  EXPECT_EQ(UpperAscii(L"robocopy.exe"), L"ROBOCOPY.EXE");
  EXPECT_EQ(UpperAscii(L"`az{@AZ[09"), L"`AZ{@AZ[09");
  // é, ı and ſ have capitals (or case foldings) outside ASCII; they stay as they are.
  EXPECT_EQ(UpperAscii(L"robocop\u00e9 \u0131 \u017f"), L"ROBOCOP\u00e9 \u0131 \u017f");
  EXPECT_EQ(UpperAscii(L""), L"");
}

TEST(LetterCase, CapitalsAsTheSystemComparesNames) {
  const struct {
    uint32_t small, capital;
  } cases[] = {
      {L'a', L'A'},
      {L'z', L'Z'},
      {L'A', L'A'},
      {L'1', L'1'},
      {L'\\', L'\\'},
      {0xE7, 0xC7},
      {0xE9, 0xC9},
      {0xF7, 0xF7},
      {0xFE, 0xDE},
      {0xFF, 0x178},
      {0xDF, 0xDF},
      {0x101, 0x100},
      {0x13A, 0x139},
      {0x142, 0x141},
      {0x17E, 0x17D},
      {0x3B1, 0x391},
      {0x3AC, 0x386},
      {0x3AD, 0x388},
      {0x3CE, 0x38F},
      {0x436, 0x416},
      {0x44F, 0x42F},
      {0x451, 0x401},
      {0x4D1, 0x4D0},
      {0x4C2, 0x4C1},
      {0x561, 0x531},
      {0x586, 0x556},
      {0x1E01, 0x1E00},
      {0x1EFF, 0x1EFE},
      {0x2170, 0x2160},
      {0x24D0, 0x24B6},
      {0xFF41, 0xFF21},
      {0xFF5A, 0xFF3A},
      {0x65E5, 0x65E5},
      {0x4E00, 0x4E00},
      {0xD83D, 0xD83D},
      // A capital that is the capital of another small letter too is not paired: micro sign
      // and mu, final and middle sigma, dotless and dotted i, long and round s.
      {0xB5, 0xB5},
      {0x3C2, 0x3C2},
      {0x131, 0x131},
      {0x17F, 0x17F},
  };
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<uint32_t>(UpcaseChar(static_cast<wchar_t>(c.small))), c.capital)
        << std::hex << c.small;
}
