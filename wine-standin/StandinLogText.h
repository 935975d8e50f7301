#pragma once
// The text of the stand-in's log, laid out like the mirroring tool's own: a header per pass,
// a line per folder and per copied or removed file, the progress pieces of each copy, a
// summary, and the monitor's waiting line. Only the progress pieces contain "%": the reader
// counts lines with "%" as files done. Lines end with CR LF.
#include "wine-standin/StandinArgs.h"
#include "wine-standin/StandinPaths.h"
#include <cstdint>
#include <string>

struct TStandinTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// What a pass did with one kind of item (folders, files or bytes).
struct TStandinCounts {
  int64_t Total = 0, Copied = 0, Skipped = 0, Failed = 0, Extras = 0;
};

struct TStandinTotals {
  TStandinCounts Dirs, Files, Bytes;
};

enum class TFileAction { NewFile, Newer, Older, Changed, ExtraFile };

// A copy writes kProgressBegin before and kProgressEnd after the data, so that each copied
// file leaves one line "  0%" CR "100%"; a failed copy ends the line with kProgressAbort.
inline constexpr wchar_t kProgressBegin[] = L"  0%\r";
inline constexpr wchar_t kProgressEnd[] = L"100%\r\n";
inline constexpr wchar_t kProgressAbort[] = L"\r\n";

inline std::wstring RightAligned(const std::wstring& text, size_t width) {
  return text.size() >= width ? text : std::wstring(width - text.size(), L' ') + text;
}

inline std::wstring RightAligned(int64_t value, size_t width) {
  return RightAligned(std::to_wstring(value), width);
}

inline std::wstring TwoDigits(int value) {
  return (value < 10 ? L"0" : L"") + std::to_wstring(value);
}

// "2024/05/01 12:00:00".
inline std::wstring FormatStandinTime(const TStandinTime& t) {
  return std::to_wstring(t.Year) + L"/" + TwoDigits(t.Month) + L"/" + TwoDigits(t.Day) + L" " +
         TwoDigits(t.Hour) + L":" + TwoDigits(t.Minute) + L":" + TwoDigits(t.Second);
}

inline const std::wstring& StandinRule() {
  static const std::wstring rule(79, L'-');
  return rule;
}

// The banner of a pass: what is mirrored where, with which options, since when.
inline std::wstring FormatHeader(const TStandinOptions& options, const std::wstring& sourceFull,
                                 const std::wstring& destinationFull, const TStandinTime& started) {
  std::wstring text = L"\r\n" + StandinRule() + L"\r\n" +
                      L"   Robocopy stand-in  ::  folder mirror for the Wine test prefix\r\n" +
                      StandinRule() + L"\r\n\r\n";
  text += L"  Started : " + FormatStandinTime(started) + L"\r\n";
  text += L"   Source : " + WithTrailingSeparator(sourceFull) + L"\r\n";
  text += L"     Dest : " + WithTrailingSeparator(destinationFull) + L"\r\n\r\n";
  text += L"    Files : *.*\r\n\r\n";
  for (size_t i = 0; i < options.ExcludedDirs.size(); ++i)
    text += (i == 0 ? L" Exc Dirs : " : L"\t    ") + options.ExcludedDirs[i] + L"\r\n";
  if (!options.ExcludedDirs.empty()) text += L"\r\n";
  text += L"  Options : *.* " + options.SwitchText + L"\r\n\r\n";
  text += StandinRule() + L"\r\n\r\n";
  return text;
}

// One line per source folder: "New Dir" when the destination folder was created, and the
// number of files the folder holds for the mirror.
inline std::wstring FormatFolderLine(bool created, int64_t files, const std::wstring& folder) {
  return std::wstring(L"\t") + (created ? L"  New Dir " : L"          ") + RightAligned(files, 10) +
         L"\t" + WithTrailingSeparator(folder) + L"\r\n";
}

// A destination folder that the source lacks, removed with all it held.
inline std::wstring FormatExtraFolderLine(int64_t entries, const std::wstring& folder) {
  return L"\t*EXTRA Dir" + RightAligned(entries, 10) + L"\t" + WithTrailingSeparator(folder) +
         L"\r\n";
}

inline std::wstring FormatFileLine(TFileAction action, int64_t size, const std::wstring& name) {
  const wchar_t* tag = L"";
  switch (action) {
  case TFileAction::NewFile:
    tag = L"    New File  ";
    break;
  case TFileAction::Newer:
    tag = L"    Newer     ";
    break;
  case TFileAction::Older:
    tag = L"    Older     ";
    break;
  case TFileAction::Changed:
    tag = L"    Changed   ";
    break;
  case TFileAction::ExtraFile:
    tag = L"  *EXTRA File ";
    break;
  }
  return std::wstring(L"\t") + tag + L"\t\t" + RightAligned(size, 10) + L"\t" + name + L"\r\n";
}

// "2024/05/01 12:00:00 ERROR 5 (0x00000005) Copying File C:\x\a.txt" and the system's text.
inline std::wstring FormatErrorLines(const TStandinTime& when, uint32_t code,
                                     const std::wstring& operation, const std::wstring& path,
                                     const std::wstring& systemText) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring hex(8, L'0');
  for (int i = 7; i >= 0; --i)
    hex[static_cast<size_t>(7 - i)] = kHex[(code >> (4 * i)) & 0xF];
  return FormatStandinTime(when) + L" ERROR " + std::to_wstring(code) + L" (0x" + hex + L") " +
         operation + L" " + path + L"\r\n" + systemText + L"\r\n";
}

// The table that closes a pass.
inline std::wstring FormatSummary(const TStandinTotals& totals, const TStandinTime& ended) {
  const auto row = [](const wchar_t* label, const TStandinCounts& c) {
    return std::wstring(label) + RightAligned(c.Total, 10) + RightAligned(c.Copied, 10) +
           RightAligned(c.Skipped, 10) + RightAligned(0, 10) + RightAligned(c.Failed, 10) +
           RightAligned(c.Extras, 10) + L"\r\n";
  };
  std::wstring text = L"\r\n" + StandinRule() + L"\r\n\r\n";
  text += L"          " + RightAligned(L"Total", 10) + RightAligned(L"Copied", 10) +
          RightAligned(L"Skipped", 10) + RightAligned(L"Mismatch", 10) +
          RightAligned(L"FAILED", 10) + RightAligned(L"Extras", 10) + L"\r\n";
  text += row(L"    Dirs :", totals.Dirs);
  text += row(L"   Files :", totals.Files);
  text += row(L"   Bytes :", totals.Bytes);
  text += L"   Ended : " + FormatStandinTime(ended) + L"\r\n\r\n";
  return text;
}

// The last line while the source is watched between passes.
inline std::wstring FormatMonitorLine(int minutes, int changes) {
  return L"Monitor : Waiting for " + std::to_wstring(minutes) + L" minutes and " +
         std::to_wstring(changes) + L" changes...\r\n";
}

inline const wchar_t* StandinUsageText() {
  return L"Usage :: robocopy source destination /MIR [/R:n] [/W:n] [/TEE] [/ETA] "
         L"[/XA:RASHCNETO]\r\n"
         L"                 [/XD dirs...] [/LOG:file] [/UNICODE] [/MOT:m] [/MON:n]\r\n"
         L"This is a stand-in of the mirroring tool for tests under Wine; it only mirrors.\r\n";
}
