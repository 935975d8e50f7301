#include "widgets/pure/MessageBoxLayout.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>

std::ostream& operator<<(std::ostream& out, const TBounds& r) {
  return out << "{" << r.Left << ", " << r.Top << ", " << r.Width << ", " << r.Height << "}";
}

namespace {

struct TLayoutCase {
  const char* Name;
  int TextWidth, TextHeight, IconSize, Dpi;
  int ClientWidth, ClientHeight;
  TBounds Icon, Text, Button;
};

// Margin 16, gap after the icon 12, button 88 × 26, text at least 120 wide: at 96 dpi as
// written, at 144 dpi half as large again (24, 18, 132 × 39, 180).
const TLayoutCase kCases[] = {
    {"warning at 96 dpi", 200, 13, 0, 96, 232, 87, {}, {16, 16, 200, 13}, {72, 45, 88, 26}},
    {"short text at 96 dpi takes the least width",
     40,
     13,
     0,
     96,
     152,
     87,
     {},
     {16, 16, 120, 13},
     {32, 45, 88, 26}},
    {"error report at 96 dpi",
     300,
     26,
     32,
     96,
     376,
     106,
     {16, 16, 32, 32},
     {60, 16, 300, 32},
     {144, 64, 88, 26}},
    {"warning at 144 dpi", 300, 20, 0, 144, 348, 131, {}, {24, 24, 300, 20}, {108, 68, 132, 39}},
    {"short text at 144 dpi takes the least width",
     60,
     20,
     0,
     144,
     228,
     131,
     {},
     {24, 24, 180, 20},
     {48, 68, 132, 39}},
    {"error report at 144 dpi",
     450,
     60,
     48,
     144,
     564,
     171,
     {24, 24, 48, 48},
     {90, 24, 450, 60},
     {216, 108, 132, 39}},
    // 120 dpi: 16 → 20, 12 → 15, 88 → 110, 26 → 32.5, rounded up as MulDiv rounds.
    {"halves round up at 120 dpi",
     100,
     16,
     0,
     120,
     190,
     109,
     {},
     {20, 20, 150, 16},
     {40, 56, 110, 33}},
};

TEST(MessageBoxLayout, PartsSitWhereTheBoxShowsThem) {
  for (const TLayoutCase& c : kCases) {
    SCOPED_TRACE(c.Name);
    const TMessageBoxLayout layout = MessageBoxLayout(c.TextWidth, c.TextHeight, c.IconSize, c.Dpi);
    EXPECT_EQ(layout.ClientWidth, c.ClientWidth);
    EXPECT_EQ(layout.ClientHeight, c.ClientHeight);
    EXPECT_EQ(layout.Icon, c.Icon);
    EXPECT_EQ(layout.Text, c.Text);
    EXPECT_EQ(layout.Button, c.Button);
  }
}

// However long the text, the button stays centred under it with a margin to the edges, and the
// text never runs under the icon or the button.
TEST(MessageBoxLayout, ButtonCentredBelowTheText) {
  for (const int dpi : {96, 144}) {
    for (const int iconSize : {0, 32, 48}) {
      for (const int textWidth : {0, 1, 119, 120, 121, 640, 1920}) {
        SCOPED_TRACE(testing::Message()
                     << dpi << " dpi, icon " << iconSize << ", text " << textWidth);
        const TMessageBoxLayout l = MessageBoxLayout(textWidth, 13, iconSize, dpi);
        const int margin = dpi * 16 / 96;
        EXPECT_LE(std::abs(l.Button.Left * 2 + l.Button.Width - l.ClientWidth), 1);
        EXPECT_GE(l.Button.Left, margin);
        EXPECT_EQ(l.Button.Top + l.Button.Height + margin, l.ClientHeight);
        EXPECT_EQ(l.Text.Top + l.Text.Height + margin, l.Button.Top);
        EXPECT_GE(l.Text.Left, l.Icon.Left + l.Icon.Width);
        EXPECT_LE(l.Text.Left + l.Text.Width + margin, l.ClientWidth);
        EXPECT_GE(l.Text.Width, textWidth);
      }
    }
  }
}

TEST(MessageBoxLayout, BoxCentredInTheWorkArea) {
  // A taskbar at the bottom: the work area starts at the screen's top.
  EXPECT_EQ(CentreInWorkArea({0, 0, 1280, 984}, 240, 120), (TBounds{520, 432, 240, 120}));
  // A second work area to the right of the first, and one with an odd leftover.
  EXPECT_EQ(CentreInWorkArea({1280, 40, 1920, 1040}, 301, 100), (TBounds{2089, 510, 301, 100}));
  // Wider than the work area: it overhangs both sides alike.
  EXPECT_EQ(CentreInWorkArea({0, 0, 800, 600}, 1000, 200), (TBounds{-100, 200, 1000, 200}));
}

} // namespace
