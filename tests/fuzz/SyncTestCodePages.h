#pragma once
// Code pages for the tests and fuzz targets of the log reader, standing in for the system's
// ANSI code page: Latin-1 (single-byte), a small double-byte code page, and UTF-8 (65001) by the
// pure decoder. The Win32 tests use the shipped decoder (CodePageDecoder) as well.
#include "funcoes/pure/TextDecoder.h"
#include <cstdint>
#include <string>
#include <string_view>

// Every byte is the code unit of the same value.
inline TAnsiDecoder Latin1Decoder() {
  TAnsiDecoder decoder;
  decoder.Decode = [](std::string_view bytes) {
    std::wstring text;
    for (char c : bytes)
      text.push_back(static_cast<wchar_t>(static_cast<uint8_t>(c)));
    return text;
  };
  return decoder;
}

// Double-byte code page in the manner of the East Asian ones: 81..9F lead a pair whose second
// byte is 40..FC (even CR or LF would not be, so a line break is never inside a pair). A lead
// byte without a valid second byte, also the very last byte, becomes "?"; other bytes are
// Latin-1.
inline bool ToyIsLead(uint8_t b) {
  return b >= 0x81 && b <= 0x9F;
}
inline bool ToyIsTrail(uint8_t b) {
  return b >= 0x40 && b <= 0xFC;
}

inline TAnsiDecoder ToyDbcsDecoder() {
  TAnsiDecoder decoder;
  decoder.Decode = [](std::string_view bytes) {
    std::wstring text;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<uint8_t>(bytes[i]);
      if (!ToyIsLead(b)) {
        text.push_back(static_cast<wchar_t>(b));
      } else if (i + 1 < bytes.size() && ToyIsTrail(static_cast<uint8_t>(bytes[i + 1]))) {
        const auto trail = static_cast<uint8_t>(bytes[++i]);
        text.push_back(static_cast<wchar_t>(0x4E00 + (b - 0x81) * 0xBD + (trail - 0x40)));
      } else {
        text.push_back(L'?');
      }
    }
    return text;
  };
  decoder.IncompleteTail = [](std::string_view bytes) -> size_t {
    size_t i = 0;
    while (i < bytes.size()) {
      if (!ToyIsLead(static_cast<uint8_t>(bytes[i]))) {
        ++i;
      } else if (i + 1 == bytes.size()) {
        return 1;
      } else {
        i += ToyIsTrail(static_cast<uint8_t>(bytes[i + 1])) ? 2 : 1;
      }
    }
    return 0;
  };
  return decoder;
}

// UTF-8 as the ANSI code page (65001): each maximal invalid subpart becomes U+FFFD, as
// MultiByteToWideChar does; an unfinished sequence at the end waits for its bytes.
inline TAnsiDecoder Utf8AnsiDecoder() {
  TAnsiDecoder decoder;
  decoder.Decode = [](std::string_view bytes) {
    std::wstring text;
    AppendUtf8(bytes, true, text);
    return text;
  };
  decoder.IncompleteTail = [](std::string_view bytes) { return Utf8HeldBackTail(bytes); };
  return decoder;
}
