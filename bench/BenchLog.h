#pragma once
// A log laid out like the mirroring tool's (folder lines, file lines, progress pieces with "%"),
// cut to an exact size, for the benchmarks of the log reading. No <windows.h>: the native
// benchmark and the Windows idle tool both use it.
#include <cstddef>
#include <string>
#include <string_view>

// The log's last line, which a driver looks for in the log pane.
inline constexpr wchar_t kBenchLogLastLine[] =
    L"   Monitor : Waiting for 1 minutes and 1 changes...";

// Text as the log's bytes: UTF-16LE, or 8-bit (the text here is ASCII).
inline std::string EncodeBenchText(std::wstring_view text, bool utf16) {
  std::string bytes;
  for (const wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    if (utf16) bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return bytes;
}

// One folder of the log: its line, then four copied files, each with its progress line.
inline std::wstring BenchLogBlock(int folder) {
  std::wstring text =
      L"\t          \t         4\tC:\\dados\\pasta_" + std::to_wstring(folder) + L"\\\r\n";
  for (int file = 0; file < 4; ++file) {
    text += L"\t    New File  \t\t    20480\tarquivo_" + std::to_wstring(file) + L".txt\r\n";
    text += L"  0%\r100%\r\n";
  }
  return text;
}

// A log of exactly size bytes ending with kBenchLogLastLine: UTF-16LE with its byte-order mark,
// or 8-bit text. size is even for UTF-16 and leaves room for the mark and the last line.
inline std::string MakeBenchLog(size_t size, bool utf16) {
  std::string log = utf16 ? "\xFF\xFE" : "";
  const std::string last = EncodeBenchText(kBenchLogLastLine, utf16);
  for (int folder = 0;; ++folder) {
    const std::string block = EncodeBenchText(BenchLogBlock(folder), utf16);
    if (log.size() + block.size() + last.size() > size) break;
    log += block;
  }
  const std::string space = EncodeBenchText(L" ", utf16);
  while (log.size() + space.size() + last.size() <= size)
    log += space; // indents the last line to reach the size
  return log + last;
}

// size bytes that the tool appends to a log (size even for UTF-16).
inline std::string BenchLogAppendix(size_t size, bool utf16) {
  std::string bytes;
  for (int folder = 0; bytes.size() < size; ++folder)
    bytes += EncodeBenchText(BenchLogBlock(folder), utf16);
  bytes.resize(size);
  return bytes;
}
