#pragma once
// How the stand-in behaves where the real tool's behaviour depends on the system it runs on or
// on what happens to it: its hold on the log, the log's encoding and language, and an early
// end. Each is chosen by an environment variable; the first of each list is the default.
// Header-only and without <windows.h>, so the unit tests check it without linking the tool.
#include "wine-standin/pure/StandinArgs.h"
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// REPLIMAR_STANDIN_LOG_HANDLE: "held" (one handle for the whole life, shared for reading and
// writing only), "held-delete" (the same, shared for deletion too), "reopen" (reopened every
// 250 ms, sharing everything, so that a deleted log comes back at once).
enum class TStandinLogHold { Held, HeldDelete, Reopen };
// REPLIMAR_STANDIN_LOG_ENCODING: "utf16-bom", "utf16" (UTF-16LE without a byte-order mark),
// "oem850" (8-bit text in code page 850, with Portuguese texts). Unset: "utf16-bom" with
// /UNICODE, the ANSI code page without it.
enum class TStandinLogEncoding { Utf16WithMark, Utf16WithoutMark, Oem850, Ansi };

struct TStandinEarlyExit {
  int Code = 0;
  int64_t AfterMs = 0;
};

struct TStandinModes {
  TStandinLogHold Hold = TStandinLogHold::Held;
  TStandinLogEncoding Encoding = TStandinLogEncoding::Utf16WithMark;
  // REPLIMAR_STANDIN_EXIT "code@ms": the process ends with that exit code that many
  // milliseconds after it started, whatever it is doing.
  std::optional<TStandinEarlyExit> Exit;
};

namespace standin_detail {
inline std::optional<int64_t> Decimal(std::wstring_view digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  int64_t value = 0;
  for (const wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return value;
}
} // namespace standin_detail

// Reads the three variables (empty when unset). A value it does not know raises EStandinUsage,
// so that a misspelt mode cannot pass for the default.
inline TStandinModes ParseStandinModes(std::wstring_view hold, std::wstring_view encoding,
                                       std::wstring_view exit, bool unicodeSwitch) {
  TStandinModes modes;
  if (hold.empty() || hold == L"held")
    modes.Hold = TStandinLogHold::Held;
  else if (hold == L"held-delete")
    modes.Hold = TStandinLogHold::HeldDelete;
  else if (hold == L"reopen")
    modes.Hold = TStandinLogHold::Reopen;
  else
    throw EStandinUsage(L"Unknown REPLIMAR_STANDIN_LOG_HANDLE \"" + std::wstring(hold) + L"\"");

  if (encoding.empty())
    modes.Encoding = unicodeSwitch ? TStandinLogEncoding::Utf16WithMark : TStandinLogEncoding::Ansi;
  else if (encoding == L"utf16-bom")
    modes.Encoding = TStandinLogEncoding::Utf16WithMark;
  else if (encoding == L"utf16")
    modes.Encoding = TStandinLogEncoding::Utf16WithoutMark;
  else if (encoding == L"oem850")
    modes.Encoding = TStandinLogEncoding::Oem850;
  else
    throw EStandinUsage(L"Unknown REPLIMAR_STANDIN_LOG_ENCODING \"" + std::wstring(encoding) +
                        L"\"");

  if (!exit.empty()) {
    const size_t at = exit.find(L'@');
    const auto code = standin_detail::Decimal(exit.substr(0, at), 3);
    const auto after = at == std::wstring_view::npos
                           ? std::nullopt
                           : standin_detail::Decimal(exit.substr(at + 1), 9);
    if (!code || !after)
      throw EStandinUsage(L"REPLIMAR_STANDIN_EXIT is not \"code@milliseconds\": \"" +
                          std::wstring(exit) + L"\"");
    modes.Exit = TStandinEarlyExit{static_cast<int>(*code), *after};
  }
  return modes;
}

// The progress pieces of one copied file, as the tool writes them on the file's own line: each
// begins with CR and has no LF ("\r  0%  ", then the share done after each block, up to
// "\r100%  "), and CR LF after the last ends the line. An empty file gets the one piece
// "\r100%  ". The first piece is written before the data, the rest after.
inline std::vector<std::wstring> ProgressPieces(uint64_t size) {
  const auto piece = [](uint64_t percent) {
    const std::wstring text = std::to_wstring(percent);
    return L"\r" + std::wstring(text.size() < 3 ? 3 - text.size() : 0, L' ') + text + L"%  ";
  };
  if (size == 0) return {piece(100) + L"\r\n"};
  // Blocks of 16 KiB, at least 4 and at most 16 of them, so that every file shows some steps.
  const uint64_t blocks = size / 16384 < 4 ? 4 : size / 16384 > 16 ? 16 : size / 16384;
  const uint64_t block = (size + blocks - 1) / blocks;
  std::vector<std::wstring> pieces{piece(0)};
  for (uint64_t done = block; done < size; done += block) {
    const uint64_t percent = done * 100 / size;
    if (percent > 0 && percent < 100 && pieces.back() != piece(percent))
      pieces.push_back(piece(percent));
  }
  pieces.push_back(piece(100) + L"\r\n");
  return pieces;
}
