#include "ui/pure/PassDecision.h"
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

TLogSummary Log(int32_t marked, std::wstring lastLine) {
  TLogSummary log;
  log.Marked = marked;
  log.HasLines = !lastLine.empty();
  log.LastLine = std::move(lastLine);
  return log;
}

TEST(PassDecision, OnePassTable) {
  const struct {
    const char* name;
    TRunPane pane;
    TPassFacts facts;
    TPassView expected;
    TRunPane paneAfter;
  } cases[] = {
      {"no log: nothing shown, not even the caret scrolled",
       {},
       {std::nullopt, 10, L"Comando: x"},
       {},
       {}},
      {"first lines replace the command line; counting: gauge untouched",
       {},
       {Log(3, L"  42%"), std::nullopt, L"Comando: x"},
       {std::nullopt, TLineShow::Replace, L"  42%", true},
       {}},
      {"count done: progress against it",
       {},
       {Log(3, L"a"), 10, L"a"},
       {TGaugeSetting{10, 3}, TLineShow::Keep, L"", true},
       {}},
      {"more progress lines than files: the gauge is full",
       {},
       {Log(12, L"b"), 10, L"a"},
       {TGaugeSetting{10, 10}, TLineShow::Replace, L"b", true},
       {}},
      {"an empty source: maximum 0",
       {},
       {Log(0, L"b"), 0, L"a"},
       {TGaugeSetting{0, 0}, TLineShow::Replace, L"b", true},
       {}},
      {"an emptied pane gets the line added",
       {},
       {Log(1, L"b"), 4, std::nullopt},
       {TGaugeSetting{4, 1}, TLineShow::Add, L"b", true},
       {}},
      {"an empty log: progress 0, the pane keeps its lines, caret scrolled",
       {},
       {Log(0, L""), 4, L"a"},
       {TGaugeSetting{4, 0}, TLineShow::Keep, L"", true},
       {}},
      {"below a message the line is added, once",
       {true, false},
       {Log(1, L"a"), std::nullopt, L"a"},
       {std::nullopt, TLineShow::Add, L"a", true},
       {false, false}},
      {"a message is kept while the log has no lines",
       {true, true},
       {Log(0, L""), std::nullopt, L"m"},
       {std::nullopt, TLineShow::Keep, L"", true},
       {true, true}},
      {"the tool's end is told below the line, and the next line goes below it",
       {},
       {Log(1, L"b"), std::nullopt, L"a", 8u},
       {std::nullopt, TLineShow::Replace, L"b", true, L"O robocopy terminou (c\u00f3digo 8)."},
       {true, false}},
      {"the tool's end without a log",
       {},
       {std::nullopt, std::nullopt, std::nullopt, 0u},
       {std::nullopt, TLineShow::Keep, L"", false, L"O robocopy terminou (c\u00f3digo 0)."},
       {true, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TRunPane pane = c.pane;
    EXPECT_EQ(DecidePass(pane, c.facts), c.expected);
    EXPECT_EQ(pane, c.paneAfter);
  }
}

TEST(PassDecision, ATruncationIsToldEachTimeAFailureOncePerRun) {
  TRunPane pane;
  EXPECT_EQ(TruncationMessage(pane, true, L""), std::wstring(kLogTruncatedText));
  EXPECT_EQ(pane, (TRunPane{true, false}));
  pane.KeepLastLine = false;
  EXPECT_EQ(TruncationMessage(pane, false, L"Sharing violation."),
            std::wstring(kTruncationFailedText) + L"Sharing violation.");
  EXPECT_EQ(pane, (TRunPane{true, true}));
  pane.KeepLastLine = false;
  EXPECT_EQ(TruncationMessage(pane, false, L"Sharing violation."), std::nullopt);
  EXPECT_EQ(pane, (TRunPane{false, true})) << "nothing told, the pane's line is not held";
  EXPECT_EQ(TruncationMessage(pane, true, L""), std::wstring(kLogTruncatedText));
}

} // namespace
