#include "fuzz/SyncTestCodePages.h"
#include "ui/pure/LogText.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using TLines = std::vector<std::wstring>;

std::string Printable(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    char hex[5];
    snprintf(hex, sizeof hex, "%02X ", c);
    text += hex;
  }
  return text;
}

std::string Printable(const std::wstring& units) {
  std::string text;
  for (wchar_t c : units) {
    char hex[8];
    snprintf(hex, sizeof hex, "%04X ", static_cast<unsigned>(c));
    text += hex;
  }
  return text;
}

} // namespace

TEST(LogText, LineBreaks) {
  const struct {
    std::wstring text;
    TLines lines;
  } cases[] = {
      {L"a\r\nb\r\n", {L"a", L"b"}},
      {L"a\rb", {L"a", L"b"}},
      {L"a\r\n\r\n", {L"a", L""}},
      {L"a\nb", {L"a", L"b"}},
      {L"", {}},
      {L"abc", {L"abc"}},
      {L"\n", {L""}},
      {L"\r\n", {L""}},
      {L"\r\r\n", {L"", L""}},
      {L"\n\r", {L"", L""}},
      {L"a\n\rb", {L"a", L"", L"b"}},
      {L"a\r\n\nb\r", {L"a", L"", L"b"}},
      {L"a\0b\nc\0"s, {L"a\0b"s, L"c\0"s}},
      {L"\0"s, {L"\0"s}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitLogLines(c.text), c.lines) << Printable(c.text);
}

TEST(LogText, ByteOrderMarkChoosesTheEncodingAndIsSkipped) {
  const struct {
    std::string bytes;
    TLogEncoding encoding;
    std::wstring text;
  } cases[] = {
      {"\xEF\xBB\xBFh\xC3\xA9", TLogEncoding::Utf8, L"h\u00e9"},
      {"\xFF\xFEh\0\xE9\0"s, TLogEncoding::Utf16LE, L"h\u00e9"},
      {"\xFE\xFF\0h\0\xE9"s, TLogEncoding::Utf16BE, L"h\u00e9"},
      {"h\xC3\xA9", TLogEncoding::Ansi, L"h\u00c3\u00a9"},
      {"\xEF\xBB\xBF", TLogEncoding::Utf8, L""},
      {"\xEF\xBB", TLogEncoding::Ansi, L"\u00ef\u00bb"},
      {"\xEF\xBBx", TLogEncoding::Ansi, L"\u00ef\u00bbx"},
      {"\xFF", TLogEncoding::Ansi, L"\u00ff"},
      {"\xFE", TLogEncoding::Ansi, L"\u00fe"},
      {"\xFE\xFE", TLogEncoding::Ansi, L"\u00fe\u00fe"},
      {"\xFF\xFF", TLogEncoding::Ansi, L"\u00ff\u00ff"},
      {"", TLogEncoding::Ansi, L""},
      // UTF-16 LE mark followed by a UTF-8 mark's bytes: the first match wins.
      {"\xFF\xFE\xEF\xBB"s, TLogEncoding::Utf16LE, L"\ubbef"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DetectLogEncoding(c.bytes), c.encoding) << Printable(c.bytes);
    EXPECT_EQ(DecodeLogText(c.bytes, Latin1Decoder()), c.text) << Printable(c.bytes);
  }
}

TEST(LogText, Utf16WithoutTheMarkIsToldByNulsAtOddOffsets) {
  const TLogSummary marked = SummarizeLog("\xFF\xFE"
                                          "a\0%\0"s,
                                          Latin1Decoder());
  EXPECT_EQ(marked.Encoding, TLogEncoding::Utf16LE);
  EXPECT_EQ(marked.LastLine, L"a%");
  const TLogSummary plain = SummarizeLog("a\0%\0"s, Latin1Decoder());
  EXPECT_EQ(plain.Encoding, TLogEncoding::Utf16LE);
  EXPECT_EQ(plain.LastLine, L"a%");
  EXPECT_EQ(plain.Marked, 1);

  std::string header; // the tool's header in UTF-16LE without a mark, longer than the probe
  for (char c : std::string("\r\n------------------------------------------\r\n  Origem : C:\\"))
    header += std::string(1, c) + '\0';
  header += "\xE7\0\xE3\0"s; // ç ã
  const struct {
    const char* what;
    std::string bytes;
    TLogEncoding encoding;
  } cases[] = {
      {"header", header, TLogEncoding::Utf16LE},
      {"one pair", "a\0"s, TLogEncoding::Utf16LE},
      {"one byte", "a", TLogEncoding::Ansi},
      {"8-bit text", "Monitor : Aguardando\x87\xE4", TLogEncoding::Ansi},
      // A NUL at an odd offset now and then is no UTF-16: most of them must be NUL.
      {"stray NULs", "a\0bcdefgh"s, TLogEncoding::Ansi},
      {"NULs at even offsets", "\0a\0b\0c"s, TLogEncoding::Ansi},
      // Only the probe counts: NULs after it do not make a log UTF-16.
      {"NULs beyond the probe",
       std::string(kEncodingProbeSize, 'x') + std::string(kEncodingProbeSize, '\0'),
       TLogEncoding::Ansi},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DetectLogEncoding(c.bytes), c.encoding) << c.what;
    EXPECT_EQ(ByteOrderMarkSize(c.bytes), 0u) << c.what;
  }
  EXPECT_EQ(SummarizeLog(header, Latin1Decoder()).LastLine, L"  Origem : C:\\\u00e7\u00e3");
}

TEST(LogText, Utf16OddLastByteIsDroppedAndPairsAreKept) {
  EXPECT_EQ(DecodeLogText("\xFF\xFE"
                          "a\0b"s,
                          Latin1Decoder()),
            L"a");
  EXPECT_EQ(DecodeLogText("\xFE\xFF\0a\0"s, Latin1Decoder()), L"a");
  EXPECT_EQ(DecodeLogText("\xFF\xFE"
                          "\x3D\xD8\x00\xDE"s,
                          Latin1Decoder()),
            (std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}));
  // Units are taken as they are, also a lone surrogate.
  EXPECT_EQ(DecodeLogText("\xFE\xFF\xDC\x00\x00\x0A"s, Latin1Decoder()),
            (std::wstring{wchar_t(0xDC00), L'\n'}));
  std::wstring out;
  EXPECT_EQ(AppendUtf16("a\0b"s, false, out), 2u);
  EXPECT_EQ(out, L"a");
}

TEST(LogText, Utf8InvalidSequencesBecomeReplacementCharacters) {
  const wchar_t r = 0xFFFD;
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      // Each maximal invalid subpart is one U+FFFD (the Unicode standard's own example).
      {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       {L'a', r, r, r, L'b', r, L'c', r, r, L'd'}},
      {"\xC0\xAF", {r, r}},
      {"\xE0\x80\xAF", {r, r, r}},
      {"\xED\xA0\x80", {r, r, r}},
      {"\xF4\x90\x80\x80", {r, r, r, r}},
      {"\xF5\x80", {r, r}},
      {"\xFF", {r}},
      {"\xE2\x82", {r}},
      {"\xE2\x82x", {r, L'x'}},
      {"\xF0\x9F\x98\x80", {wchar_t(0xD83D), wchar_t(0xDE00)}},
      {"\xF4\x8F\xBF\xBF", {wchar_t(0xDBFF), wchar_t(0xDFFF)}},
      {"\xEF\xBF\xBD", {r}},
      {"\xE2\x82\xAC\x00"s, {wchar_t(0x20AC), wchar_t(0)}},
      {"\xC3\r\n", {r, L'\r', L'\n'}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecodeLogText("\xEF\xBB\xBF" + c.bytes, Latin1Decoder()), c.text)
        << Printable(c.bytes);
}

TEST(LogText, AnsiGoesThroughTheShellsCodePage) {
  const TLogSummary summary = SummarizeLog("\x81\x41 10%\n\x9F\n\x82", ToyDbcsDecoder());
  EXPECT_EQ(summary.Encoding, TLogEncoding::Ansi);
  EXPECT_EQ(summary.Marked, 1);
  EXPECT_EQ(summary.LastLine, L"?");
  EXPECT_EQ(DecodeLogText("\x81\x41\x9F\n", ToyDbcsDecoder()), L"\u4e01?\n");
}

TEST(LogText, SummaryCountsMarkedLinesOnce) {
  const struct {
    std::string bytes;
    TLogSummary summary;
  } cases[] = {
      {"", {0, false, L"", TLogEncoding::Ansi}},
      {"\xEF\xBB\xBF", {0, false, L"", TLogEncoding::Utf8}},
      {"50%\r\n100%% feito\r\nsem marca\r\n%", {3, true, L"%", TLogEncoding::Ansi}},
      {"%%%%\n", {1, true, L"%%%%", TLogEncoding::Ansi}},
      {"a%\r\n\r\n", {1, true, L"", TLogEncoding::Ansi}},
      {"\r", {0, true, L"", TLogEncoding::Ansi}},
      {"x\0%\ry"s, {1, true, L"y", TLogEncoding::Ansi}},
      // A file's progress: pieces that begin with CR on one line that CR LF ends count once;
      // the last piece is the last line shown.
      {"\ta.txt\r  0%  \r 33%  \r 66%  \r100%  \r\n", {1, true, L"100%  ", TLogEncoding::Ansi}},
      {"a\r  0%  \r\nb\r  0%  \r100%  ", {2, true, L"100%  ", TLogEncoding::Ansi}},
      {"%\r%\r\r%", {1, true, L"%", TLogEncoding::Ansi}},
      {"%\n\r%\n%", {3, true, L"%", TLogEncoding::Ansi}},
      {"\r\n%\n", {1, true, L"%", TLogEncoding::Ansi}},
      {"\xFF\xFE%\0\r\0"s, {1, true, L"%", TLogEncoding::Utf16LE}},
      {"\xFE\xFF\x25\x00"s, {0, true, L"\u2500", TLogEncoding::Utf16BE}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SummarizeLog(c.bytes, Latin1Decoder()), c.summary) << Printable(c.bytes);
}

TEST(LogText, SizeLimitIsStrict) {
  EXPECT_FALSE(LogTooLarge(0));
  EXPECT_FALSE(LogTooLarge(5242880));
  EXPECT_TRUE(LogTooLarge(5242881));
  EXPECT_TRUE(LogTooLarge(INT64_MAX));
}

TEST(LogText, ProgressNeverPassesTheTotal) {
  EXPECT_EQ(SyncProgress(3, 10), 3);
  EXPECT_EQ(SyncProgress(10, 10), 10);
  EXPECT_EQ(SyncProgress(12, 10), 10);
  EXPECT_EQ(SyncProgress(0, 0), 0);
  EXPECT_EQ(SyncProgress(5, 0), 0);
}

TEST(LogText, OnlyAnAnsiLogIsTranslatedFromOem) {
  EXPECT_TRUE(NeedsOemTranslation(TLogEncoding::Ansi));
  EXPECT_FALSE(NeedsOemTranslation(TLogEncoding::Utf8));
  EXPECT_FALSE(NeedsOemTranslation(TLogEncoding::Utf16LE));
  EXPECT_FALSE(NeedsOemTranslation(TLogEncoding::Utf16BE));
}
