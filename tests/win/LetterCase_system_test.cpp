// The letter-case table against the system's own rule for names, CompareStringOrdinal ignoring
// case, over every code unit of the Basic Multilingual Plane: together the two tests say that
// two units are equal to the system exactly when the table gives them the same capital.
#include "funcoes/pure/LetterCase.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int CompareIgnoringCase(wchar_t a, wchar_t b) {
  return CompareStringOrdinal(&a, 1, &b, 1, TRUE);
}

std::string Hex(uint32_t unit) {
  char text[8];
  snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(unit));
  return text;
}

// The first few of a list of findings, for a failure message that stays readable.
std::string FirstOf(const std::vector<std::string>& findings) {
  std::string text;
  for (size_t i = 0; i < findings.size() && i < 20; ++i)
    text += findings[i] + "\n";
  return text;
}

} // namespace

// Every unit is equal, letter case ignored, to the capital the table gives it: the table folds
// nothing the system keeps apart.
TEST(LetterCaseSystem, EveryUnitEqualsItsCapital) {
  std::vector<std::string> wrong;
  for (uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const wchar_t capital = UpcaseChar(static_cast<wchar_t>(unit));
    if (CompareIgnoringCase(static_cast<wchar_t>(unit), capital) != CSTR_EQUAL)
      wrong.push_back(Hex(unit) + " is not " + Hex(capital));
  }
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " units:\n" << FirstOf(wrong);
}

// The capitals the table gives, in order, each compare greater than the one before: no two
// units with different capitals are equal to the system, so it folds no unit that the table
// leaves unfolded.
TEST(LetterCaseSystem, NoUnitTheSystemFoldsIsLeftUnfolded) {
  std::vector<wchar_t> capitals;
  for (uint32_t unit = 0; unit <= 0xFFFF; ++unit)
    capitals.push_back(UpcaseChar(static_cast<wchar_t>(unit)));
  std::sort(capitals.begin(), capitals.end());
  capitals.erase(std::unique(capitals.begin(), capitals.end()), capitals.end());
  // Each unit of the plane has one capital, and a capital is its own.
  ASSERT_GT(capitals.size(), 60000u);
  std::vector<std::string> wrong;
  for (size_t i = 1; i < capitals.size(); ++i)
    if (CompareIgnoringCase(capitals[i - 1], capitals[i]) != CSTR_LESS_THAN)
      wrong.push_back(Hex(capitals[i - 1]) + " is not less than " + Hex(capitals[i]));
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " pairs:\n" << FirstOf(wrong);
}
