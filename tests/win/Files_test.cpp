// Reading a file beside the process that writes it (the mirroring tool and its log), a file's
// presence, and the size the tests wait on while a tool writes a file (wintest::FileSizeOf).
#include "WinTestSupport.h"
#include "funcoes/Files.h"
#include "funcoes/pure/Exception.h"
#include <windows.h>
#include <winioctl.h>
#include <gtest/gtest.h>
#include <string>

namespace {

using wintest::FileSizeOf;
using wintest::Narrow;
using wintest::ReadWholeFile;
using wintest::TTempTree;
using wintest::WaitUntil;

void Append(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
}

// ---- Reading the log ----

class ReadWholeFileTest : public ::testing::Test {
protected:
  TTempTree FTree{L"read"};
  std::wstring FLog = FTree.Path(L"robocopy_log.txt");
};

TEST_F(ReadWholeFileTest, ReadsEveryByteAsItIs) {
  // A byte-order mark, a NUL inside a line and no final break: the bytes come back unchanged.
  const std::string bytes("\xFF\xFE"
                          "a\0b\r\n\0"
                          "100%\x00\xE9",
                          13);
  FTree.File(L"robocopy_log.txt", bytes);
  EXPECT_EQ(ReadWholeFile(FLog), bytes);
  FTree.File(L"empty.txt");
  EXPECT_EQ(ReadWholeFile(FTree.Path(L"empty.txt")), "");
}

TEST_F(ReadWholeFileTest, ReadsALogThatAWriterHoldsOpen) {
  UniqueFileHandle writer(CreateFileW(FLog.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.Valid());
  Append(writer.Get(), "  New File  10  a.mp4\r\n  100%\r\n");
  EXPECT_EQ(ReadWholeFile(FLog), "  New File  10  a.mp4\r\n  100%\r\n");
  // The writer goes on writing after a read: the next read sees the grown log.
  Append(writer.Get(), "  New File  20  b.mp4\r\n");
  EXPECT_EQ(ReadWholeFile(FLog), "  New File  10  a.mp4\r\n  100%\r\n  New File  20  b.mp4\r\n");
}

TEST_F(ReadWholeFileTest, HoldsTheLogOnlyWhileReadingIt) {
  FTree.File(L"robocopy_log.txt", "x\r\n");
  ASSERT_EQ(ReadWholeFile(FLog), "x\r\n");
  // Neither a writer that shares nothing nor a deletion is kept out afterwards.
  UniqueFileHandle exclusive(
      CreateFileW(FLog.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(exclusive.Valid()) << "the reader left the log open";
  exclusive.Reset();
  EXPECT_TRUE(DeleteFileW(FLog.c_str()));
}

struct TShareCase {
  DWORD WriterShare;
  bool Readable;
  const char* Name;
};

class ReadWholeFileShareTest : public ReadWholeFileTest,
                               public ::testing::WithParamInterface<TShareCase> {};

TEST_P(ReadWholeFileShareTest, OpensWhenTheWriterSharesReading) {
  const TShareCase& c = GetParam();
  UniqueFileHandle writer(CreateFileW(FLog.c_str(), GENERIC_WRITE, c.WriterShare, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.Valid());
  Append(writer.Get(), "line\r\n");
  if (c.Readable) {
    EXPECT_EQ(ReadWholeFile(FLog), "line\r\n");
    return;
  }
  try {
    ReadWholeFile(FLog);
    FAIL() << "no error raised";
  } catch (const EFOpenError& e) {
    const std::wstring prefix = L"Cannot open file \"" + FLog + L"\". ";
    EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix) << Narrow(e.Message());
    // Followed by the system's description of the error.
    EXPECT_GT(e.Message().size(), prefix.size() + 3) << Narrow(e.Message());
  }
  // The run checks that the log exists first: the held log does exist.
  EXPECT_TRUE(FileExists(FLog));
}

INSTANTIATE_TEST_SUITE_P(
    Sharing, ReadWholeFileShareTest,
    ::testing::Values(TShareCase{FILE_SHARE_READ | FILE_SHARE_WRITE, true, "ReadWrite"},
                      TShareCase{FILE_SHARE_READ, true, "Read"},
                      TShareCase{FILE_SHARE_READ | FILE_SHARE_DELETE, true, "ReadDelete"},
                      TShareCase{FILE_SHARE_WRITE, false, "WriteOnly"},
                      TShareCase{0, false, "Nothing"}),
    [](const ::testing::TestParamInfo<TShareCase>& info) { return std::string(info.param.Name); });

// ---- Presence and size ----

TEST(FileExists, IsTrueForFilesOnly) {
  TTempTree tree(L"exists");
  const std::wstring file = tree.File(L"robocopy_log.txt", "x");
  const std::wstring hidden = tree.File(L"hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
  const std::wstring folder = tree.Folder(L"robocopy_log.dir");
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(hidden));
  EXPECT_FALSE(FileExists(folder));
  EXPECT_FALSE(FileExists(tree.Path(L"missing.txt")));
  EXPECT_FALSE(FileExists(L""));
  // A file held without any sharing still exists.
  UniqueFileHandle exclusive(
      CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(exclusive.Valid());
  EXPECT_TRUE(FileExists(file));
}

TEST(FileSizeOf, IsTheFilesOwnWhileAnotherHandleWritesIt) {
  TTempTree tree(L"size-held");
  const std::wstring path = tree.Path(L"held.txt");
  UniqueFileHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.Valid());
  for (int64_t written = 1000; written <= 5000; written += 1000) {
    Append(writer.Get(), std::string(1000, 'x'));
    EXPECT_EQ(FileSizeOf(path), written);
  }
}

TEST(FileSizeOf, IsTheRecordedSizeOrZero) {
  TTempTree tree(L"size");
  EXPECT_EQ(FileSizeOf(tree.Path(L"missing.txt")), 0);
  EXPECT_EQ(FileSizeOf(tree.Path(L"missing\\deeper.txt")), 0);
  EXPECT_EQ(FileSizeOf(tree.File(L"empty.txt")), 0);
  // On either side of the log size limit.
  EXPECT_EQ(FileSizeOf(tree.File(L"limit.txt", std::string(5242880, 'x'))), 5242880);
  EXPECT_EQ(FileSizeOf(tree.File(L"above.txt", std::string(5242881, 'x'))), 5242881);
}

TEST(FileSizeOf, CountsBeyondFourGigabytes) {
  TTempTree tree(L"bigsize");
  const std::wstring path = tree.Path(L"big.log");
  constexpr int64_t kSize = (int64_t{5} << 30) + 3;
  {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.Valid());
    // Sparse where the file system can, so that no space is taken.
    DWORD returned = 0;
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = kSize;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.Get()));
  }
  EXPECT_EQ(FileSizeOf(path), kSize);
}

} // namespace
