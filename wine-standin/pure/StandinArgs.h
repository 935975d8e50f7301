#pragma once
// The stand-in's command line: the mirror options read from its arguments (split by
// SplitCommandLineArgs). Header-only and without <windows.h>, so tests check it with the pure
// library alone, without linking the tool.
#include "funcoes/pure/LetterCase.h"
#include "funcoes/pure/Exception.h"
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A command line the stand-in cannot follow; it prints the message and exits with 16.
class EStandinUsage : public Exception {
  using Exception::Exception;
};

// File attribute bits as the system numbers them, for /XA.
namespace StandinAttribute {
inline constexpr uint32_t ReadOnly = 0x1, Hidden = 0x2, System = 0x4, Directory = 0x10,
                          Archive = 0x20, Normal = 0x80, Temporary = 0x100, Compressed = 0x800,
                          Offline = 0x1000, Encrypted = 0x4000, ReparsePoint = 0x400;
} // namespace StandinAttribute

struct TStandinOptions {
  std::wstring Source, Destination;       // as given
  std::vector<std::wstring> ExcludedDirs; // /XD, as given: full paths or bare names
  std::wstring LogPath;                   // /LOG:, empty for none
  uint32_t ExcludedAttributes = 0;        // /XA: files with any of these are skipped
  int Retries = 0, WaitSeconds = 0;       // /R: /W: (the stand-in never retries)
  int MonitorChanges = 0;                 // /MON:n, 0 when absent
  int MonitorMinutes = 0;                 // /MOT:m, 0 when absent
  bool Tee = false, Unicode = false;
  std::wstring SwitchText; // the switches for the log header, /XD and /LOG aside

  bool Monitors() const { return MonitorChanges > 0 || MonitorMinutes > 0; }
  // After a pass, the next one waits for at least this many changes in the source.
  int ChangesToWaitFor() const { return MonitorChanges > 0 ? MonitorChanges : 1; }
};

namespace StandinArgsDetail {
inline EStandinUsage Invalid(size_t index, const std::wstring& arg) {
  return EStandinUsage(L"Invalid Parameter #" + std::to_wstring(index) + L" : \"" + arg + L"\"");
}

// A small decimal count (at most 6 digits), or -1.
inline int Count(std::wstring_view digits) {
  if (digits.empty() || digits.size() > 6) return -1;
  int value = 0;
  for (const wchar_t c : digits) {
    if (c < L'0' || c > L'9') return -1;
    value = value * 10 + (c - L'0');
  }
  return value;
}

inline uint32_t AttributeOf(wchar_t letter) {
  switch (letter) {
  case L'R':
    return StandinAttribute::ReadOnly;
  case L'A':
    return StandinAttribute::Archive;
  case L'S':
    return StandinAttribute::System;
  case L'H':
    return StandinAttribute::Hidden;
  case L'C':
    return StandinAttribute::Compressed;
  case L'N':
    return StandinAttribute::Normal;
  case L'E':
    return StandinAttribute::Encrypted;
  case L'T':
    return StandinAttribute::Temporary;
  case L'O':
    return StandinAttribute::Offline;
  default:
    return 0;
  }
}
} // namespace StandinArgsDetail

// Reads the arguments after the program name. Switches ignore case; the names after /XD run
// up to the next switch. Only mirroring is supported, so /MIR is required.
inline TStandinOptions ParseStandinOptions(const std::vector<std::wstring>& args) {
  using namespace StandinArgsDetail;
  TStandinOptions options;
  std::vector<std::wstring> folders;
  bool mirror = false, inExcludedDirs = false;
  // Parameters are numbered from 1 after the program name, as the error message shows them.
  for (size_t index = 1; index < args.size(); ++index) {
    const std::wstring& arg = args[index];
    if (arg.empty() || arg[0] != L'/') {
      if (inExcludedDirs) {
        if (!arg.empty()) options.ExcludedDirs.push_back(arg);
      } else if (folders.size() < 2 && !arg.empty())
        folders.push_back(arg);
      else
        throw Invalid(index, arg);
      continue;
    }
    inExcludedDirs = false;
    const std::wstring upper = UpperAscii(arg);
    const size_t colon = upper.find(L':');
    const std::wstring name = upper.substr(0, colon);
    const std::wstring value = colon == std::wstring::npos ? L"" : arg.substr(colon + 1);
    const bool hasValue = colon != std::wstring::npos;
    bool shown = true;
    if (name == L"/MIR" && !hasValue) {
      mirror = true;
    } else if (name == L"/TEE" && !hasValue) {
      options.Tee = true;
    } else if (name == L"/ETA" && !hasValue) {
      // The stand-in copies too little for an estimate to matter.
    } else if (name == L"/UNICODE" && !hasValue) {
      options.Unicode = true;
    } else if (name == L"/XD" && !hasValue) {
      inExcludedDirs = true;
      shown = false;
    } else if (name == L"/LOG" && hasValue && !value.empty()) {
      options.LogPath = value;
      shown = false;
    } else if ((name == L"/R" || name == L"/W" || name == L"/MON" || name == L"/MOT") && hasValue) {
      const int count = Count(value);
      if (count < 0) throw Invalid(index, arg);
      if (name == L"/R") options.Retries = count;
      if (name == L"/W") options.WaitSeconds = count;
      if (name == L"/MON") options.MonitorChanges = count;
      if (name == L"/MOT") options.MonitorMinutes = count;
    } else if (name == L"/XA" && hasValue && !value.empty()) {
      for (const wchar_t letter : UpperAscii(value)) {
        const uint32_t bit = AttributeOf(letter);
        if (bit == 0) throw Invalid(index, arg);
        options.ExcludedAttributes |= bit;
      }
    } else {
      throw Invalid(index, arg);
    }
    if (shown) options.SwitchText += (options.SwitchText.empty() ? L"" : L" ") + upper;
  }
  if (folders.size() < 2) throw EStandinUsage(L"No Source and Destination Directory Specified.");
  if (!mirror) throw EStandinUsage(L"The stand-in only mirrors: /MIR is required.");
  options.Source = folders[0];
  options.Destination = folders[1];
  return options;
}

// Milliseconds per "minute" of /MOT, from REPLIMAR_STANDIN_MINUTE_MS (tests shorten it):
// a positive decimal number, otherwise a real minute.
inline int64_t MinuteMilliseconds(std::wstring_view text) {
  constexpr int64_t kRealMinute = 60000;
  if (text.empty() || text.size() > 9) return kRealMinute;
  int64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return kRealMinute;
    value = value * 10 + (c - L'0');
  }
  return value > 0 ? value : kRealMinute;
}
