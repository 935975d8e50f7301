// Faults of the tool's log while a run follows it: locked, deleted, replaced, truncated, at the
// size limit, one endless line, random bytes. The tool is set aside so that the test writes the
// log; the run follows it as it would follow the tool's.
#include "tests/e2e/FaultSupport.h"
#include <random>
#include <gtest/gtest.h>

namespace {

using namespace e2e;

// A log in the tool's Unicode form: the mark, then the lines.
std::string UnicodeLog(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// Replaces the file at path by another one (a new file, as a tool that starts over makes).
void ReplaceFile(const std::wstring& path, const std::string& content) {
  const std::wstring fresh = path + L".novo";
  WriteFile(fresh, content);
  ASSERT_TRUE(MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
}

int64_t FileSizeOfForTest(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) |
                              data.nFileSizeLow);
}

class FaultLog : public TToolAsideTest {
protected:
  void SetUp() override {
    TToolAsideTest::SetUp();
    for (int i = 0; i < 4; ++i)
      WriteFile(FSource + L"\\f" + std::to_wstring(i) + L".txt", "x");
  }
  bool Shows(const std::wstring& lastLine, const std::wstring& gauge) const {
    return WaitFor([&] { return LastPaneLine(*FApp) == lastLine && FApp->GaugeText() == gauge; },
                   kActionTimeout);
  }
};

TEST_F(FaultLog, LockedWithoutReadSharingIsReportedAndANewRunFollowsAgain) {
  StartFollowing();
  WriteFile(LogPath(), "a 50%\r\nprimeira\r\n");
  ASSERT_TRUE(Shows(L"primeira", L"25%"));
  UniqueFileHandle lock(CreateFileW(LogPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock.Valid());
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
  ASSERT_NE(box, nullptr) << FApp->DescribeTopLevelWindows();
  const std::wstring text = MessageText(box);
  EXPECT_EQ(text.rfind(L"Cannot open file \"" + LogPath() + L"\". ", 0), 0u) << Utf8(text);
  EXPECT_EQ(LastPaneLine(*FApp), L"primeira") << "the pane keeps its last state";
  PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActionTimeout));
  lock.Reset();
  EXPECT_EQ(ReadFileBytes(LogPath()), "a 50%\r\nprimeira\r\n") << "the log is kept";

  // A new press starts a new run, which deletes the stale log and follows the new one.
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  ASSERT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kStarting) == 2; },
                      kActionTimeout));
  WriteFile(LogPath(), "b 1%\r\nb 2%\r\nsegunda\r\n");
  EXPECT_TRUE(Shows(L"segunda", L"50%"));
  FApp->Click(FApp->Button(kStop));
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
  EXPECT_TRUE(WindowUsable());
}

TEST_F(FaultLog, DeletedThenLargerThenTruncatedWhileFollowed) {
  StartFollowing();
  WriteFile(LogPath(), "1%\r\n2%\r\nantes\r\n");
  ASSERT_TRUE(Shows(L"antes", L"50%"));
  // Deleted: the passes read nothing; the pane and the gauge keep what they show.
  ASSERT_TRUE(DeleteFileW(LogPath().c_str()));
  WriteFile(FRoot + L"\\marca.txt", "");
  EXPECT_FALSE(WaitFor([&] { return LastPaneLine(*FApp) != L"antes"; }, std::chrono::seconds(1)));
  EXPECT_EQ(FApp->GaugeText(), L"50%");
  // Replaced by a larger file: read from its start.
  ReplaceFile(LogPath(), UnicodeLog(L"1%\r\n2%\r\n3%\r\nmaior \u65e5\u672c\r\n"));
  EXPECT_TRUE(Shows(L"maior \u65e5\u672c", L"75%"));
  // Cut short in place: read again from its start.
  UniqueFileHandle file(CreateFileW(LogPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.Valid());
  LARGE_INTEGER cut;
  cut.QuadPart = static_cast<LONGLONG>(UnicodeLog(L"1%\r\n").size());
  ASSERT_TRUE(SetFilePointerEx(file.Get(), cut, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file.Get()));
  file.Reset();
  EXPECT_TRUE(Shows(L"1%", L"25%"));
  EXPECT_TRUE(WindowUsable());
}

TEST_F(FaultLog, AtTheSizeLimitTheLogIsKeptOneByteMoreDeletesIt) {
  StartFollowing();
  constexpr size_t kLimit = 5242880;
  // Exactly the limit, ending in a line the pane shows: the log stays.
  std::string log(kLimit, 'a');
  const std::string tail = "\r\nno limite\r\n";
  log.replace(kLimit - tail.size(), tail.size(), tail);
  ReplaceFile(LogPath(), log);
  ASSERT_TRUE(Shows(L"no limite", L"0%"));
  // Another file of the same size: when it shows, a whole pass with its size test has gone by.
  const std::string again = "\r\nde novo.\r\n";
  log.replace(kLimit - again.size(), again.size(), again);
  ASSERT_EQ(log.size(), kLimit);
  ReplaceFile(LogPath(), log);
  ASSERT_TRUE(Shows(L"de novo.", L"0%"));
  EXPECT_EQ(FileSizeOfForTest(LogPath()), static_cast<int64_t>(kLimit));
  EXPECT_EQ(CountLines(PaneLines(FApp->LogText()), kTruncated), 0);

  // One byte more: deleted, and the truncation line is written once.
  ReplaceFile(LogPath(), log + "!");
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kTruncated; }, kActionTimeout))
      << Utf8(LastPaneLine(*FApp));
  EXPECT_EQ(GetFileAttributesW(LogPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(CountLines(PaneLines(FApp->LogText()), kTruncated), 1);
  EXPECT_TRUE(WindowUsable());
}

TEST_F(FaultLog, ALineOfTenMegabytesWithoutABreakIsShownThenTheLogIsDeleted) {
  StartFollowing();
  WriteFile(LogPath(), std::string(10 * 1024 * 1024, 'L'));
  EXPECT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kTruncated) >= 1; },
                      std::chrono::seconds(30)))
      << "pane length " << FApp->LogText().size();
  EXPECT_EQ(GetFileAttributesW(LogPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(WindowUsable());
  FApp->Click(FApp->Button(kStop));
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
}

TEST_F(FaultLog, RandomBytesAreShownAsTextAndTheRunGoesOn) {
  StartFollowing();
  for (unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    std::string bytes(256 * 1024, '\0');
    for (char& b : bytes)
      b = static_cast<char>(random() & 0xFF);
    if (seed == 2) bytes.replace(0, 2, "\xFF\xFE");     // read as UTF-16 with broken pairs
    if (seed == 3) bytes.replace(0, 3, "\xEF\xBB\xBF"); // read as UTF-8, mostly invalid
    ReplaceFile(LogPath(), bytes + "\r\nfim " + std::to_string(seed));
    if (seed == 1)
      EXPECT_TRUE(Shows(L"fim 1", L"100%")) << Utf8(LastPaneLine(*FApp));
    else
      EXPECT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"100%"; }, kActionTimeout));
    ASSERT_TRUE(FApp->Running());
  }
  EXPECT_TRUE(WindowUsable());
  FApp->Click(FApp->Button(kStop));
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, kActionTimeout));
}

} // namespace
