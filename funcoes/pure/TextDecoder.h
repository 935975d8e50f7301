#pragma once
// Decoding 8-bit and UTF-16 bytes to UTF-16 text in pieces, as they arrive: the decoder of a
// code page that the shell supplies, and UTF-8 and UTF-16 decoding of the program's own.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The system's ANSI code page, supplied by the shell (tests pass their own code pages).
struct TAnsiDecoder {
  // Bytes to UTF-16. Must split at character boundaries: Decode(a + b) == Decode(a) +
  // Decode(b) whenever IncompleteTail(a) == 0.
  std::function<std::wstring(std::string_view)> Decode;
  // Number of bytes at the end of a text that starts at a character boundary which the decoder
  // must see again with the bytes that follow: a DBCS lead byte whose trail has not arrived, or
  // an unfinished UTF-8 sequence. Unset: a single-byte code page, always 0.
  std::function<size_t(std::string_view)> IncompleteTail;
};

// Appends the UTF-16 of UTF-8 bytes to out and returns how many bytes it used. Each maximal
// invalid subpart becomes one U+FFFD (as MultiByteToWideChar does). When atEnd is false an
// unfinished but so far valid sequence at the end (at most 3 bytes) is left unused.
size_t AppendUtf8(std::string_view bytes, bool atEnd, std::wstring& out);
// The bytes at the end of UTF-8 text that a decoder of code page 65001 must see again with what
// follows: the cut goes back to the earliest of the 3 bytes before it that leads a sequence
// longer than the bytes left after it, and again from there. Decoders differ in how they end a
// sequence cut short (Windows replaces the valid part, Wine swallows the rest of its input), but
// none reads across a point that no sequence's lead reaches past.
inline constexpr size_t kUtf8HeldBackLimit = 64;
size_t Utf8HeldBackTail(std::string_view bytes);
// Appends the code units of UTF-16 bytes to out, unchecked; returns the bytes used (an odd last
// byte is left unused).
size_t AppendUtf16(std::string_view bytes, bool bigEndian, std::wstring& out);
