// The log pane: lines each ending in a break, replacing a line, clearing, and no length limit.
#include "WinTestSupport.h"
#include "widgets/Memo.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>

namespace {

using wintest::Narrow;
using wintest::THostForm;

class MemoTest : public ::testing::Test {
protected:
  void SetUp() override {
    FMemo.SetBounds({8, 8, 300, 200});
    FMemo.Create(FHost.Form());
  }
  THostForm FHost;
  TMemo FMemo;
};

TEST_F(MemoTest, StartsEmpty) {
  EXPECT_EQ(FMemo.Text(), L"");
  EXPECT_EQ(FMemo.LineCount(), 0);
}

TEST_F(MemoTest, AddLineAppendsTheTextAndABreak) {
  FMemo.AddLine(L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...");
  FMemo.AddLine(L"Comando: robocopy \"C:\" \"D:\\x\"");
  EXPECT_EQ(FMemo.Text(), L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...\r\n"
                          L"Comando: robocopy \"C:\" \"D:\\x\"\r\n");
  EXPECT_EQ(FMemo.LineCount(), 2);
  EXPECT_EQ(FMemo.Line(0), L"Iniciando sincroniza\u00e7\u00e3o cont\u00ednua...");
  EXPECT_EQ(FMemo.Line(1), L"Comando: robocopy \"C:\" \"D:\\x\"");
}

TEST_F(MemoTest, AddLineOfEmptyTextAddsAnEmptyLine) {
  FMemo.AddLine(L"");
  EXPECT_EQ(FMemo.Text(), L"\r\n");
  EXPECT_EQ(FMemo.LineCount(), 1);
  FMemo.AddLine(L"a");
  FMemo.AddLine(L"");
  EXPECT_EQ(FMemo.Text(), L"\r\na\r\n\r\n");
  EXPECT_EQ(FMemo.LineCount(), 3);
  EXPECT_EQ(FMemo.Line(2), L"");
}

TEST_F(MemoTest, ReplacingTheLastLineKeepsItsBreak) {
  FMemo.AddLine(L"a");
  FMemo.AddLine(L"Comando: x");
  FMemo.ReplaceLine(1, L"   100%        New File  12  b.txt");
  EXPECT_EQ(FMemo.Text(), L"a\r\n   100%        New File  12  b.txt\r\n");
  EXPECT_EQ(FMemo.LineCount(), 2);
  // A longer and then a shorter text: each replaces exactly the old line.
  FMemo.ReplaceLine(1, L"0123456789012345678901234567890123456789");
  FMemo.ReplaceLine(1, L"z");
  EXPECT_EQ(FMemo.Text(), L"a\r\nz\r\n");
  // An empty last log line empties the pane's last line.
  FMemo.ReplaceLine(1, L"");
  EXPECT_EQ(FMemo.Text(), L"a\r\n\r\n");
  EXPECT_EQ(FMemo.LineCount(), 2);
  // The next line is appended after it, not joined to it.
  FMemo.AddLine(L"Sincroniza\u00e7\u00e3o encerrada.");
  EXPECT_EQ(FMemo.Text(), L"a\r\n\r\nSincroniza\u00e7\u00e3o encerrada.\r\n");
}

TEST_F(MemoTest, ReplacingAMiddleLineLeavesTheOthers) {
  FMemo.AddLine(L"one");
  FMemo.AddLine(L"two");
  FMemo.AddLine(L"three");
  FMemo.ReplaceLine(1, L"2");
  EXPECT_EQ(FMemo.Text(), L"one\r\n2\r\nthree\r\n");
  EXPECT_EQ(FMemo.LineCount(), 3);
}

TEST_F(MemoTest, ClearEmptiesThePane) {
  FMemo.AddLine(L"a");
  FMemo.AddLine(L"b");
  FMemo.Clear();
  EXPECT_EQ(FMemo.Text(), L"");
  EXPECT_EQ(FMemo.LineCount(), 0);
  FMemo.AddLine(L"c");
  EXPECT_EQ(FMemo.Text(), L"c\r\n");
  EXPECT_EQ(FMemo.LineCount(), 1);
}

TEST_F(MemoTest, HoldsFarMoreThanTheEditControlsDefaultLimit) {
  // About a million characters, thirty times the edit control's default limit. (Wine's edit
  // control takes time that grows with the square of the line count here.)
  constexpr int kLines = 10000;
  const std::wstring body(100, L'x');
  const ULONGLONG started = GetTickCount64();
  for (int i = 0; i < kLines; ++i) {
    std::wstring line = body;
    const std::wstring number = std::to_wstring(i);
    line.replace(0, number.size(), number);
    FMemo.AddLine(line);
  }
  const ULONGLONG elapsed = GetTickCount64() - started;
  std::printf("[ figure ] %d lines of 100 characters appended in %llu ms\n", kLines,
              static_cast<unsigned long long>(elapsed));
  const std::wstring text = FMemo.Text();
  EXPECT_EQ(text.size(), static_cast<size_t>(kLines) * 102);
  EXPECT_EQ(FMemo.LineCount(), kLines);
  const std::wstring last = FMemo.Line(kLines - 1);
  const std::wstring lastNumber = std::to_wstring(kLines - 1);
  EXPECT_EQ(last.substr(0, lastNumber.size()), lastNumber) << Narrow(last.substr(0, 10));
  EXPECT_EQ(last.size(), 100u);
  FMemo.ReplaceLine(kLines - 1, L"end");
  EXPECT_EQ(FMemo.Line(kLines - 1), L"end");
  EXPECT_EQ(FMemo.LineCount(), kLines);
}

} // namespace
