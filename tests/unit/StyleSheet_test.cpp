#include "widgets/pure/StyleSheet.h"
#include <gtest/gtest.h>

TEST(StyleSheet, ReadsNamedColoursAndKeepsDefaultsForBadOnes) {
  TStyleSheet sheet;
  ASSERT_TRUE(ParseStyleSheet("; comment\r\nName=Glossy\r\nFace=#E9EEF4\r\n"
                              "ButtonTop = #1a2B3c\nPaneText=#12345\nUnknown=#000000\n",
                              sheet));
  EXPECT_EQ(sheet.Name, L"Glossy");
  EXPECT_EQ(sheet.Face, 0xE9EEF4u);
  EXPECT_EQ(sheet.ButtonTop, 0x1A2B3Cu);
  EXPECT_EQ(sheet.PaneText, 0x000000u); // malformed: default kept
}

TEST(StyleSheet, TextWithoutANameIsNotAStyle) {
  TStyleSheet sheet;
  EXPECT_FALSE(ParseStyleSheet("Face=#FFFFFF\n", sheet));
}
