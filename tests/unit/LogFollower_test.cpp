#include "fuzz/SyncTestCodePages.h"
#include "ui/pure/LogFollower.h"
#include "ui/pure/LogText.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::string Printable(std::string_view bytes) {
  std::string text;
  for (unsigned char c : bytes.substr(0, 64)) {
    char hex[5];
    snprintf(hex, sizeof hex, "%02X ", c);
    text += hex;
  }
  return bytes.size() > 64 ? text + "..." : text;
}

struct TCodePage {
  const char* Name;
  TAnsiDecoder Decoder;
};

const TCodePage& Latin1() {
  static const TCodePage page{"Latin-1", Latin1Decoder()};
  return page;
}
const TCodePage& ToyDbcs() {
  static const TCodePage page{"toy DBCS", ToyDbcsDecoder()};
  return page;
}
const TCodePage& Utf8Ansi() {
  static const TCodePage page{"UTF-8 as ANSI", Utf8AnsiDecoder()};
  return page;
}

// Feeds the log in the given pieces and checks the follower against the whole-log reader after
// every piece.
void ExpectSameAsWholeLog(const std::vector<std::string>& pieces, const TCodePage& page) {
  TLogFollower follower(page.Decoder);
  std::string log;
  for (const std::string& piece : pieces) {
    log += piece;
    follower.Feed(piece);
    ASSERT_EQ(follower.Summary(), SummarizeLog(log, page.Decoder))
        << page.Name << " after " << log.size() << " bytes: " << Printable(log);
    ASSERT_EQ(follower.BytesSeen(), static_cast<int64_t>(log.size()));
  }
}

// Byte by byte, and cut once at every place.
void ExpectSameEveryWay(const std::string& log, const TCodePage& page) {
  std::vector<std::string> bytes;
  for (char c : log)
    bytes.emplace_back(1, c);
  ExpectSameAsWholeLog(bytes, page);
  for (size_t cut = 0; cut <= log.size(); ++cut)
    ExpectSameAsWholeLog({log.substr(0, cut), log.substr(cut)}, page);
}

} // namespace

TEST(LogFollower, ChunkBoundariesInsideWhatTheReaderCarries) {
  const std::string logs[] = {
      "\xEF\xBB\xBF"
      "a%\r\nb", // the mark in pieces
      "\xEF\xBB"
      "x%",       // almost a mark: ANSI
      "\xEF",     // one byte that could begin a mark
      "\xFF",     // the same for UTF-16 LE
      "\xFE\xFF", // a UTF-16 BE mark and nothing else
      "\xFF\xFE"
      "a\0\r\0\n\0%\0b"s,                                    // CR LF and an odd last byte in UTF-16
      "\xFE\xFF\0a\0\r\0\r\0\n"s,                            // the same big-endian
      "\xFF\xFE\x3D\xD8\x00\xDE%\0"s,                        // a surrogate pair
      "a\r\nb\r",                                            // a CR whose LF may follow
      "a\r\n\r\n",                                           // an empty last line
      "\n\r\r\n\n",                                          // breaks only
      "\xEF\xBB\xBF\xF0\x9F\x98\x80\r\xE2\x82",              // UTF-8 sequences cut, one unfinished
      "\xEF\xBB\xBF\xE2\x28\xA1\xC0%\n\xED\xA0\x80",         // invalid UTF-8
      "\x81\x41\x81\n\x81%\x9F",                             // DBCS lead bytes, one at the very end
      "x\0y\0%\0\r"s,                                        // NUL is an ordinary character
      "h\xC3\xA9 %\r\n\xE2\x82\xAC\xF0\x9F\x98\x80\xE2\x82", // UTF-8 text without a mark
      "\r\0\n\0-\0-\0 \0%\0\r\0\n\0\xE7\0"s,                 // UTF-16LE without a mark
      "f\r  0%  \r 50%  \r100%  \r\ng\r  0%  \r\n",          // progress pieces of two files
      "\xFF\xFE\r\0%\0\r\0%\0\r\0\n\0\r\0%\0"s,              // the same in UTF-16
      "",
  };
  for (const std::string& log : logs) {
    ExpectSameEveryWay(log, Latin1());
    ExpectSameEveryWay(log, ToyDbcs());
    ExpectSameEveryWay(log, Utf8Ansi());
  }
}

TEST(LogFollower, AnAlmostMarkIsAnsiUntilTheLastByteArrives) {
  TLogFollower follower(Latin1Decoder());
  follower.Feed("\xEF\xBB");
  EXPECT_EQ(follower.Summary(), (TLogSummary{0, true, L"\u00ef\u00bb", TLogEncoding::Ansi}));
  follower.Feed("\xBF");
  EXPECT_EQ(follower.Summary(), (TLogSummary{0, false, L"", TLogEncoding::Utf8}));
  follower.Feed("50%\r");
  EXPECT_EQ(follower.Summary(), (TLogSummary{1, true, L"50%", TLogEncoding::Utf8}));
  follower.Feed("\n");
  EXPECT_EQ(follower.Summary(), (TLogSummary{1, true, L"50%", TLogEncoding::Utf8}));
}

TEST(LogFollower, AFilesProgressCountsOnceWhilePassesCutItAnywhere) {
  // Each piece is what one pass finds appended; the count is the one after that pass.
  const std::string longName(70000, 'n');
  const struct {
    std::string piece;
    int32_t marked;
    std::wstring last;
  } passes[] = {
      {"\ta.txt", 0, L"\ta.txt"},
      {"\r  0%  ", 1, L"  0%  "},         // the file's line, its pieces still arriving
      {"\r 33%  \r 66%  ", 1, L" 66%  "}, // more pieces: the same line
      {"\r100%  \r", 1, L"100%  "},       // a CR at the end of a pass...
      {"\n", 1, L"100%  "},               // ...and its LF at the start of the next: still one
      {"\tb.txt\r  0%  \r", 2, L"  0%  "},
      {"100%  \r\n\tc.txt\r  0%", 3, L"  0%"},
      {"  \r\n", 3, L"  0%  "},
      // Passes longer than the follower's slice of 64 KiB: each decoded in two slices.
      {"\t" + longName + ".mp4\r 50%", 4, L" 50%"},
      {"\r\n", 4, L" 50%"},
      {"\t" + longName + "%", 5, L"\t" + std::wstring(longName.begin(), longName.end()) + L"%"},
  };
  TLogFollower follower(Latin1Decoder());
  std::string log;
  for (const auto& pass : passes) {
    log += pass.piece;
    follower.Feed(pass.piece);
    EXPECT_EQ(follower.Summary().Marked, pass.marked) << Printable(log);
    EXPECT_EQ(follower.Summary().LastLine, pass.last) << Printable(log);
    EXPECT_EQ(follower.Summary(), SummarizeLog(log, Latin1Decoder())) << Printable(log);
  }
}

TEST(LogFollower, ResetStartsANewLog) {
  TLogFollower follower(Latin1Decoder());
  follower.Feed("\xFF\xFE"
                "a\0%\0\r"s);
  EXPECT_EQ(follower.BytesSeen(), 7);
  follower.Reset();
  EXPECT_EQ(follower.BytesSeen(), 0);
  EXPECT_EQ(follower.Summary(), SummarizeLog("", Latin1Decoder()));
  follower.Feed("b\r\n");
  EXPECT_EQ(follower.Summary(), (TLogSummary{0, true, L"b", TLogEncoding::Ansi}));
}

namespace {

// Random logs in every encoding, with marks whole, cut and false, line breaks of every kind,
// NULs, progress markers, long lines, characters of several lengths and stray bytes.
class TLogGenerator {
public:
  explicit TLogGenerator(uint32_t seed) : FRng(seed) {}

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(FRng); }

  std::string Log() {
    std::string log;
    const size_t form = Pick(4); // 0 ANSI, 1 UTF-8, 2 UTF-16 LE, 3 UTF-16 BE
    const char* marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    if (Pick(8) == 0)
      log += std::string("\xEF\xBB\xBF\xFF\xFE", 5).substr(0, Pick(3) + 1); // a false start
    else if (form != 2 || Pick(3) != 0)
      log += marks[form]; // else UTF-16 LE without a mark, told by its NULs

    const size_t pieces = Pick(4) == 0 ? 0 : Pick(80);
    for (size_t i = 0; i < pieces; ++i)
      Piece(log, form);
    if (Pick(4) == 0) log.push_back(static_cast<char>(Pick(256))); // an odd last byte
    return log;
  }

  // Piece sizes: mostly small, so boundaries fall everywhere, sometimes large.
  std::vector<std::string> Chunks(const std::string& log) {
    std::vector<std::string> chunks;
    for (size_t at = 0; at < log.size();) {
      const size_t kind = Pick(6);
      const size_t size = kind == 0 ? 0 : kind < 3 ? Pick(4) + 1 : kind < 5 ? Pick(40) : Pick(4000);
      chunks.push_back(log.substr(at, size));
      at += size;
    }
    return chunks;
  }

private:
  void Unit(std::string& log, size_t form, uint32_t unit) {
    if (form == 2) {
      log.push_back(static_cast<char>(unit & 0xFF));
      log.push_back(static_cast<char>(unit >> 8));
    } else if (form == 3) {
      log.push_back(static_cast<char>(unit >> 8));
      log.push_back(static_cast<char>(unit & 0xFF));
    } else {
      log.push_back(static_cast<char>(unit));
    }
  }

  void Piece(std::string& log, size_t form) {
    const char* utf8[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                          "\xE2\x82", "\xC0\xAF",     "\xED\xA0\x80"};
    switch (Pick(13)) {
    case 0:
      Unit(log, form, '%');
      break;
    case 1:
      Unit(log, form, '\r');
      break;
    case 2:
      Unit(log, form, '\n');
      break;
    case 3:
      Unit(log, form, '\r');
      Unit(log, form, '\n');
      break;
    case 4:
      Unit(log, form, 0);
      break;
    case 5: // a long line now and then
      for (size_t n = Pick(20) == 0 ? Pick(5000) : Pick(30); n > 0; --n)
        Unit(log, form, "abc %xyz"[Pick(8)]);
      break;
    case 6: // several bytes per character
      if (form >= 2) {
        Unit(log, form, 0xD83D);
        Unit(log, form, 0xDE00);
      } else {
        log += utf8[Pick(6)];
      }
      break;
    case 7: // a lone surrogate, or a DBCS pair or lead byte
      if (form >= 2) {
        Unit(log, form, 0xD800 + Pick(0x800));
      } else {
        log.push_back(static_cast<char>(0x81 + Pick(0x1F)));
        if (Pick(2)) log.push_back(static_cast<char>(Pick(256)));
      }
      break;
    case 8: // a stray byte, which can throw UTF-16 out of step
      log.push_back(static_cast<char>(Pick(256)));
      break;
    case 9: // a file's progress: pieces that begin with CR, often ended by CR LF
      for (size_t n = Pick(5); n > 0; --n)
        for (const char c : std::string("\r 50%  "))
          Unit(log, form, static_cast<uint8_t>(c));
      if (Pick(2)) {
        Unit(log, form, '\r');
        Unit(log, form, '\n');
      }
      break;
    default:
      Unit(log, form, static_cast<uint32_t>(form >= 2 ? Pick(0x10000) : 0x20 + Pick(0x60)));
      break;
    }
  }

  std::mt19937 FRng;
};

} // namespace

TEST(LogFollower, MatchesTheWholeLogReaderOnRandomLogsAndChunkings) {
  size_t passes = 0;
  for (uint32_t seed = 1; seed <= 1000; ++seed) {
    TLogGenerator generator(seed);
    const TCodePage& page = seed % 3 == 0 ? Latin1() : seed % 3 == 1 ? ToyDbcs() : Utf8Ansi();
    TLogFollower follower(page.Decoder);
    // A few logs one after the other, as when the log is deleted, shrinks or is replaced: the
    // next one is often the previous one cut short and grown again.
    std::string previous;
    for (int round = 0; round < 3; ++round) {
      std::string log = generator.Log();
      if (!previous.empty() && generator.Pick(2))
        log = previous.substr(0, generator.Pick(previous.size())) + log;
      follower.Reset();
      std::string seen;
      for (const std::string& chunk : generator.Chunks(log)) {
        seen += chunk;
        follower.Feed(chunk);
        ++passes;
        ASSERT_EQ(follower.Summary(), SummarizeLog(seen, page.Decoder))
            << "seed " << seed << ", " << page.Name << ", after " << seen.size()
            << " bytes: " << Printable(seen);
      }
      previous = log;
    }
  }
  EXPECT_GT(passes, 10000u);
  std::printf("%zu passes compared\n", passes);
}
