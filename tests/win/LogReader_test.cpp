// The log reader beside a writer that holds the log: the size from the file itself, a log
// rewritten in place (noticed in its first and last bytes read; the middle is the stated
// limit), and a deleted log whose deletion is pending.
#include "WinTestSupport.h"
#include "funcoes/Files.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "ui/LogReader.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

namespace {

using wintest::ReadWholeFile;
using wintest::TTempTree;

class LogReaderTest : public ::testing::Test {
protected:
  // A writer like the real tool's: one handle, sharing read and write, and delete when asked.
  UniqueFileHandle OpenWriter(DWORD extraSharing = 0) {
    return UniqueFileHandle(CreateFileW(FLog.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | extraSharing, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  static void WriteAt(HANDLE file, int64_t offset, const std::string& bytes) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    ASSERT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN));
    Write(file, bytes);
  }
  static void Append(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER zero{};
    ASSERT_TRUE(SetFilePointerEx(file, zero, nullptr, FILE_END));
    Write(file, bytes);
  }
  static void Write(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  }
  // Lines of 100 bytes: "l" and the number, padded.
  static std::string Lines(int from, int count) {
    std::string text;
    for (int i = from; i < from + count; ++i) {
      std::string line(1, 'l');
      line += std::to_string(i);
      line.resize(98, '.');
      text += line + "\r\n";
    }
    return text;
  }

  TTempTree FTree{L"reader"};
  std::wstring FLog = FTree.Path(L"robocopy_log.txt");
};

TEST_F(LogReaderTest, SizeIsTheFilesOwnWhileTheWriterHoldsIt) {
  TLogReader reader(FLog);
  EXPECT_EQ(reader.CheckSize(), 0);
  UniqueFileHandle writer = OpenWriter();
  ASSERT_TRUE(writer.Valid());
  for (int round = 1; round <= 3; ++round) {
    Append(writer.Get(), Lines(round, 1));
    EXPECT_EQ(reader.CheckSize(), 100 * round);
  }
}

TEST_F(LogReaderTest, ARewriteInTheLastBytesReadIsNoticedInTheMiddleItIsNot) {
  UniqueFileHandle writer = OpenWriter();
  ASSERT_TRUE(writer.Valid());
  WriteAt(writer.Get(), 0, Lines(0, 200)); // 20,000 bytes: beyond the first and last 4 KiB
  TLogReader reader(FLog);
  ASSERT_TRUE(reader.Pass().has_value());

  // The last line rewritten in place, same size and identity: read again from the start.
  std::string changed = Lines(199, 1);
  changed.replace(0, 4, "50% ");
  WriteAt(writer.Get(), 19900, changed);
  std::optional<TLogSummary> pass = reader.Pass();
  ASSERT_TRUE(pass.has_value());
  EXPECT_EQ(pass->Marked, 1);
  EXPECT_EQ(*pass, SummarizeLog(ReadWholeFile(FLog), SystemAnsiDecoder()));

  // The limit: a rewrite between the first 4 KiB and the last 4 KiB read, at the same size, is
  // taken as unchanged until the log is read from its start again.
  WriteAt(writer.Get(), 10000, Lines(100, 1).replace(0, 4, "99% "));
  pass = reader.Pass();
  ASSERT_TRUE(pass.has_value());
  EXPECT_EQ(pass->Marked, 1);
  EXPECT_EQ(SummarizeLog(ReadWholeFile(FLog), SystemAnsiDecoder()).Marked, 2);
  // Growth alone does not bring it back either; shrinking does.
  Append(writer.Get(), Lines(200, 1));
  EXPECT_EQ(reader.Pass()->Marked, 1);
  LARGE_INTEGER cut;
  cut.QuadPart = 15000;
  ASSERT_TRUE(SetFilePointerEx(writer.Get(), cut, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(writer.Get()));
  EXPECT_EQ(*reader.Pass(), SummarizeLog(ReadWholeFile(FLog), SystemAnsiDecoder()));
  EXPECT_EQ(reader.Pass()->Marked, 1);
}

TEST_F(LogReaderTest, ALogPendingDeletionCountsAsAbsentUntilANewOneTakesTheName) {
  {
    UniqueFileHandle writer = OpenWriter(FILE_SHARE_DELETE);
    ASSERT_TRUE(writer.Valid());
    WriteAt(writer.Get(), 0, Lines(0, 60));
    TLogReader reader(FLog);
    ASSERT_TRUE(reader.Pass().has_value());
    ASSERT_TRUE(DeleteFileW(FLog.c_str()));
    reader.NoteDeletion();
    // The writer goes on into the deleted log: not read, no size, no error.
    Append(writer.Get(), Lines(60, 1));
    EXPECT_FALSE(reader.Pass().has_value());
    EXPECT_EQ(reader.CheckSize(), 0);
    writer.Reset(); // the deletion completes
    EXPECT_FALSE(reader.Pass().has_value());

    // A new log, perhaps with the deleted one's file number: followed from its start.
    UniqueFileHandle fresh = OpenWriter();
    ASSERT_TRUE(fresh.Valid());
    WriteAt(fresh.Get(), 0, "novo 10%\r\n");
    const std::optional<TLogSummary> pass = reader.Pass();
    ASSERT_TRUE(pass.has_value());
    EXPECT_EQ(pass->LastLine, L"novo 10%");
    EXPECT_EQ(reader.CheckSize(), 10);
  }
}

} // namespace
