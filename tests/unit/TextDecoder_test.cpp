#include "funcoes/pure/TextDecoder.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>

namespace {

std::string Printable(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    char hex[5];
    snprintf(hex, sizeof hex, "%02X ", c);
    text += hex;
  }
  return text;
}

} // namespace

TEST(TextDecoder, Utf8HeldBackTailStartsAtALeadThatReachesPastTheEnd) {
  const struct {
    std::string bytes;
    size_t tail;
  } cases[] = {
      {"", 0},
      {"abc\r\n", 0},
      {"a\xC3", 1},
      {"a\xC3\xA9", 0},
      {"a\xE2\x82", 2},
      {"a\xF0\x9F\x98", 3},
      {"a\xF0\x9F\x98\x80", 0},
      {"a\xF0\x9F\x41", 3}, // cut short by an ASCII byte: still held, decoders differ there
      {"a\xE2\x3B", 2},
      {"a\xE0\x80", 2},         // invalid at once for Windows, swallowed at the end by Wine
      {"\xF0\xC3", 2},          // the earliest lead that reaches past the end counts
      {"a\xC0\xF5\x80", 0},     // bytes that lead nothing
      {"a\xE6\xC0\xE6\xE2", 4}, // the cut before E6 E2 leaves E6 C0 reaching past it
  };
  for (const auto& c : cases)
    EXPECT_EQ(Utf8HeldBackTail(c.bytes), c.tail) << Printable(c.bytes);
}

// The bytes left unused are the start of a character not yet complete but valid so far (at most
// 3); anything invalid is decoded at once.
TEST(TextDecoder, Utf8LeavesOnlyAValidIncompleteTailUnused) {
  const struct {
    std::string bytes;
    size_t tail;
  } cases[] = {
      {"", 0},          {"abc", 0},   {"a\xC3", 1},         {"a\xC3\xA9", 0},
      {"a\xE2\x82", 2}, {"a\xE2", 1}, {"a\xE2\x82\xAC", 0}, {"a\xF0\x9F\x98", 3},
      {"a\xF0\x9F", 2}, {"a\xF0", 1}, {"a\xE0\x80", 0}, // overlong: invalid at once
      {"a\xED\xA0", 0},                                 // a surrogate: invalid at once
      {"a\xF4\x90", 0},                                 // above U+10FFFF
      {"a\xF5", 0},     {"a\xC0", 0}, {"a\x80\x80\x80", 0}, {"\xE2\x82\xAC\xE2", 1},
  };
  for (const auto& c : cases) {
    std::wstring out;
    EXPECT_EQ(AppendUtf8(c.bytes, false, out), c.bytes.size() - c.tail) << Printable(c.bytes);
  }
}

TEST(TextDecoder, Utf8LeavesAnUnfinishedSequenceForLater) {
  const struct {
    std::string bytes;
    size_t used;
  } cases[] = {
      {"a\xE2\x82", 1}, {"\xF0\x9F\x98", 0}, {"a\xC3", 1},    {"a\xE2\x28", 3},
      {"a\xC0", 2},     {"\xE0\x80", 2},     {"\xF4\x90", 2}, {"ab", 2},
  };
  for (const auto& c : cases) {
    std::wstring out;
    EXPECT_EQ(AppendUtf8(c.bytes, false, out), c.used) << Printable(c.bytes);
  }
}
