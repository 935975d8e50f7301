// The code-page decoders and the display conversion of the log's last line. The log follower
// with the decoder the program ships (MultiByteToWideChar of a code page) against the whole-log
// read with the same decoder, for a single-byte, a double-byte and the UTF-8 code page:
// characters split between passes and at the follower's slice boundary.
#include "fuzz/FollowerFuzz.h"
#include "funcoes/SystemText.h"
#include "ui/pure/LogFollower.h"
#include "ui/pure/LogText.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Hex(std::string_view bytes) {
  std::string text;
  char part[4];
  for (unsigned char c : bytes) {
    snprintf(part, sizeof part, "%02X ", c);
    text += part;
  }
  return text;
}

std::string Hex(const std::wstring& units) {
  std::string text;
  char part[6];
  for (wchar_t c : units) {
    snprintf(part, sizeof part, "%04X ", static_cast<unsigned>(c));
    text += part;
  }
  return text;
}

class SystemDecoder : public ::testing::TestWithParam<UINT> {
protected:
  void SetUp() override {
    if (!IsValidCodePage(GetParam())) GTEST_FAIL() << "code page " << GetParam() << " missing";
  }
  // Random log text: the code page's own characters, line breaks, markers and stray bytes.
  std::string RandomLog(std::mt19937& random) {
    const std::wstring alphabet = L"abc %\r\n\u00e9\u00e7\u00e3\u65e5\u672c\u30a2\u20ac";
    std::wstring text;
    const size_t length = random() % 300;
    for (size_t i = 0; i < length; ++i)
      text += alphabet[random() % alphabet.size()];
    std::string bytes = Encode(text, GetParam());
    if (GetParam() == CP_UTF8 && random() % 4 == 0) bytes += "\xF0\x9F\x98\x80"; // 4 bytes
    if (random() % 5 == 0) bytes.insert(random() % (bytes.size() + 1), 1, char(random() & 0xFF));
    return bytes;
  }
};

// Every cut of a log whose characters take several bytes: the follower, fed in two passes,
// shows what the whole-log read shows, never two halves of one character.
TEST_P(SystemDecoder, ACharacterSplitBetweenTwoPassesIsShownWhole) {
  const TAnsiDecoder decoder = CodePageDecoder(GetParam());
  const std::string log = Encode(L"c\u00f3pia 50%\r\nfim \u00e9\u00e7\u65e5\u20ac", GetParam());
  const TLogSummary whole = SummarizeLog(log, decoder);
  // What the code page holds of the text (best-fit letters where it lacks some).
  ASSERT_EQ(whole.LastLine, decoder.Decode(Encode(L"fim \u00e9\u00e7\u65e5\u20ac", GetParam())));
  for (size_t cut = 0; cut <= log.size(); ++cut) {
    TLogFollower follower(decoder);
    follower.Feed(log.substr(0, cut));
    EXPECT_EQ(follower.Summary(), SummarizeLog(log.substr(0, cut), decoder)) << "cut " << cut;
    follower.Feed(log.substr(cut));
    EXPECT_EQ(follower.Summary(), whole) << "cut " << cut;
  }
  EXPECT_EQ(whole.LastLine.find(L'\uFFFD'), std::wstring::npos);
}

TEST_P(SystemDecoder, ACharacterAcrossTheSliceBoundaryIsShownWhole) {
  const TAnsiDecoder decoder = CodePageDecoder(GetParam());
  const std::string character = Encode(L"\u00e9", GetParam());
  for (size_t before = 64 * 1024 - 3; before <= 64 * 1024; ++before) {
    const std::string log = std::string(before, 'x') + character + "\r\nok";
    TLogFollower follower(decoder);
    follower.Feed(log); // one read, decoded in slices
    EXPECT_EQ(follower.Summary(), SummarizeLog(log, decoder)) << before;
    EXPECT_EQ(follower.Summary().Marked, 0);
  }
}

TEST_P(SystemDecoder, RandomLogsInRandomPiecesMatchTheWholeLogRead) {
  const TAnsiDecoder decoder = CodePageDecoder(GetParam());
  std::mt19937 random(GetParam());
  for (int round = 0; round < 300; ++round) {
    const std::string log = RandomLog(random);
    TLogFollower follower(decoder);
    std::string seen;
    for (size_t at = 0; at < log.size();) {
      const size_t size = random() % 3 == 0 ? random() % 40 : random() % 4;
      follower.Feed(log.substr(at, size));
      seen += log.substr(at, size);
      at += size;
      ASSERT_EQ(follower.Summary(), SummarizeLog(seen, decoder))
          << "round " << round << " after " << seen.size() << " bytes: " << Hex(seen)
          << "\nfollower: " << Hex(follower.Summary().LastLine)
          << "\nwhole:    " << Hex(SummarizeLog(seen, decoder).LastLine);
    }
  }
}

// The fuzz target's body with the shipped decoder, on random inputs (no libFuzzer under Wine).
TEST_P(SystemDecoder, FuzzBodyHoldsOnRandomInputs) {
  const TAnsiDecoder decoder = CodePageDecoder(GetParam());
  std::mt19937 random(GetParam() * 7 + 1);
  const std::string sample = Encode(L"\u00e9\u65e5\u20ac%\r\n", GetParam());
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> input(random() % 400);
    for (uint8_t& byte : input)
      byte = static_cast<uint8_t>(random() % 3 == 0 ? sample[random() % sample.size()]
                                                    : random() & 0xFF);
    std::string log;
    ASSERT_TRUE(FollowerMatchesWholeLog(input.data(), input.size(), decoder, &log))
        << "round " << round << ", log: " << Hex(log)
        << "\nwhole: " << Hex(SummarizeLog(log, decoder).LastLine);
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, SystemDecoder, ::testing::Values(1252u, 932u, 65001u),
                         [](const ::testing::TestParamInfo<UINT>& info) {
                           return "cp" + std::to_string(info.param);
                         });

// The display conversion of the last line.

// The text through the ANSI code page, and back.
std::wstring ThroughAnsi(const std::wstring& text) {
  char bytes[64] = {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes,
                                    64, nullptr, nullptr);
  wchar_t back[64] = {};
  const int m = MultiByteToWideChar(CP_ACP, 0, bytes, n, back, 64);
  return std::wstring(back, static_cast<size_t>(m));
}

// What the display conversion must give, worked out without OemToCharBuffA: the text's ANSI
// bytes read as OEM text, then shown through the ANSI code page.
std::wstring ExpectedDisplay(const std::wstring& text) {
  char bytes[64] = {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes,
                                    64, nullptr, nullptr);
  wchar_t oem[64] = {};
  const int m = MultiByteToWideChar(CP_OEMCP, 0, bytes, n, oem, 64);
  return ThroughAnsi(std::wstring(oem, static_cast<size_t>(m)));
}

TEST(OemToDisplay, TreatsTheAnsiBytesAsOemText) {
  std::printf("[ figure ] ANSI code page %u, OEM code page %u\n", GetACP(), GetOEMCP());
  const std::wstring expected = ExpectedDisplay(L"\u00e9");
  ASSERT_EQ(expected.size(), 1u);
  EXPECT_EQ(OemToDisplay(L"\u00e9"), expected);
  if (GetACP() != GetOEMCP()) {
    EXPECT_NE(OemToDisplay(L"\u00e9"), L"\u00e9");
  }
  if (GetACP() == 1252 && GetOEMCP() == 850) {
    EXPECT_EQ(OemToDisplay(L"\u00e9"), L"\u00da");
  }
  if (GetACP() == 1252 && GetOEMCP() == 437) {
    // 0xE9 is a Greek capital theta in 437, which 1252 lacks: its stand-in shows.
    EXPECT_EQ(OemToDisplay(L"\u00e9"), ThroughAnsi(L"\u0398"));
  }
  // Within a line, each character is translated on its own.
  EXPECT_EQ(OemToDisplay(L"  100%  Fotos \u00e9 x"), L"  100%  Fotos " + expected + L" x");
}

TEST(OemToDisplay, LeavesAsciiAndEmptyLinesAlone) {
  EXPECT_EQ(OemToDisplay(L""), L"");
  const std::wstring ascii = L"\t  12.5%\t\tNew File  \t\t  1.2 m\tC:\\x\\a b.mp4";
  EXPECT_EQ(OemToDisplay(ascii), ascii);
}

TEST(OemToDisplay, ACharacterTheAnsiPageLacksShowsItsReplacement) {
  // A check mark has no place in the ANSI code page: its best-fit or default character is
  // what is translated.
  ASSERT_NE(ThroughAnsi(L"\u2713"), L"\u2713");
  EXPECT_EQ(OemToDisplay(L"a\u2713b"), ExpectedDisplay(L"a\u2713b"));
  EXPECT_EQ(OemToDisplay(L"\u00c0\u00e7\u00e3o\u00fc"),
            ExpectedDisplay(L"\u00c0\u00e7\u00e3o\u00fc"));
}

TEST(SystemAnsiDecoder, DecodesInTheAnsiCodePage) {
  char ansi = 0;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u00e9", 1, &ansi, 1, nullptr, nullptr), 1);
  const std::string bytes = std::string("caf") + ansi + "\r\n";
  EXPECT_EQ(SystemAnsiDecoder().Decode(bytes), L"caf\u00e9\r\n");
  EXPECT_EQ(SystemAnsiDecoder().Decode(""), L"");
}

TEST(RuntimeMessageText, IsUtf8WhenValidElseTheAnsiCodePage) {
  char ansi = 0;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u00e9", 1, &ansi, 1, nullptr, nullptr), 1);
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"", L""},
      {"boom", L"boom"},
      {"N\xc3\xa3o h\xc3\xa1 pasta", L"N\u00e3o h\u00e1 pasta"},
      {std::string("caf") + ansi + " pasta", L"caf\u00e9 pasta"}, // not UTF-8: the ANSI page
  };
  for (const auto& c : cases)
    EXPECT_EQ(RuntimeMessageText(c.bytes), c.text) << c.bytes;
}

} // namespace
