#pragma once
// The text of the stand-in's log, laid out like the mirroring tool's own: a header per pass,
// a line per folder and per copied or removed file, the progress pieces of each copy, a
// summary, and the monitor's waiting line. Only the progress pieces contain "%": the reader
// counts lines (to their LF) with "%" as files done. Lines end with CR LF; a copied file's
// progress pieces, each begun by CR, go on its own line before that.
#include "wine-standin/pure/StandinArgs.h"
#include "wine-standin/pure/StandinPaths.h"
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

// A copy writes its progress pieces (ProgressPieces, StandinModes.h) on the file's line
// (FormatFileHead); a failed copy ends the line with kProgressAbort after its first piece.
inline constexpr wchar_t kProgressAbort[] = L"\r\n";

// The texts of the log in the tool's language: English, or Portuguese as a localized system
// writes them (with accented letters, so that their 8-bit form depends on the code page).
struct TStandinWords {
  const wchar_t* Banner;
  const wchar_t* Started;
  const wchar_t* Source;
  const wchar_t* Dest;
  const wchar_t* Files;
  const wchar_t* ExcDirs;
  const wchar_t* Options;
  const wchar_t* NewDir;
  const wchar_t* ExtraDir;
  const wchar_t* NewFile;
  const wchar_t* Newer;
  const wchar_t* Older;
  const wchar_t* Changed;
  const wchar_t* ExtraFile;
  const wchar_t* Error;
  const wchar_t* Columns[6];
  const wchar_t* DirsRow;
  const wchar_t* FilesRow;
  const wchar_t* BytesRow;
  const wchar_t* Ended;
  const wchar_t* Waiting; // "Monitor : Waiting for " m Minutes n Changes
  const wchar_t* Minutes;
  const wchar_t* Changes;
  size_t LabelWidth;  // of the summary's row labels
  size_t ColumnWidth; // of the summary's figures
};

inline const TStandinWords& EnglishWords() {
  static const TStandinWords words{
      L"   Robocopy stand-in  ::  folder mirror for the Wine test prefix",
      L"  Started : ",
      L"   Source : ",
      L"     Dest : ",
      L"    Files : ",
      L" Exc Dirs : ",
      L"  Options : ",
      L"  New Dir ",
      L"\t*EXTRA Dir",
      L"    New File  ",
      L"    Newer     ",
      L"    Older     ",
      L"    Changed   ",
      L"  *EXTRA File ",
      L" ERROR ",
      {L"Total", L"Copied", L"Skipped", L"Mismatch", L"FAILED", L"Extras"},
      L"    Dirs :",
      L"   Files :",
      L"   Bytes :",
      L"   Ended : ",
      L"Monitor : Waiting for ",
      L" minutes and ",
      L" changes...",
      10,
      10,
  };
  return words;
}

inline const TStandinWords& PortugueseWords() {
  static const TStandinWords words{
      L"   Substituto do Robocopy  ::  espelho de pastas para o prefixo de testes",
      L"   In\u00edcio : ",
      L"   Origem : ",
      L"  Destino : ",
      L" Arquivos : ",
      L" Excluir diret\u00f3rios : ",
      L"   Op\u00e7\u00f5es : ",
      L"  Novo dir ",
      L"\t*EXTRA Diret\u00f3rio",
      L"    Novo arquivo ",
      L"    Mais novo    ",
      L"    Mais antigo  ",
      L"    Alterado     ",
      L"  *EXTRA Arquivo ",
      L" ERRO ",
      {L"Total", L"Copiado", L"Ignorado", L"Incompat\u00edvel", L"FALHA", L"Extras"},
      L"Diret\u00f3rios :",
      L"  Arquivos :",
      L"     Bytes :",
      L"   T\u00e9rmino : ",
      L"Monitor : Aguardando ",
      L" minutos e ",
      L" altera\u00e7\u00f5es...",
      12,
      14,
  };
  return words;
}

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
inline std::wstring FormatHeader(const TStandinWords& words, const TStandinOptions& options,
                                 const std::wstring& sourceFull,
                                 const std::wstring& destinationFull, const TStandinTime& started) {
  std::wstring text =
      L"\r\n" + StandinRule() + L"\r\n" + words.Banner + L"\r\n" + StandinRule() + L"\r\n\r\n";
  text += words.Started + FormatStandinTime(started) + L"\r\n";
  text += words.Source + WithTrailingSeparator(sourceFull) + L"\r\n";
  text += words.Dest + WithTrailingSeparator(destinationFull) + L"\r\n\r\n";
  text += words.Files + std::wstring(L"*.*\r\n\r\n");
  for (size_t i = 0; i < options.ExcludedDirs.size(); ++i)
    text += (i == 0 ? std::wstring(words.ExcDirs) : L"\t    ") + options.ExcludedDirs[i] + L"\r\n";
  if (!options.ExcludedDirs.empty()) text += L"\r\n";
  text += words.Options + std::wstring(L"*.* ") + options.SwitchText + L"\r\n\r\n";
  text += StandinRule() + L"\r\n\r\n";
  return text;
}

// One line per source folder: "New Dir" when the destination folder was created, and the
// number of files the folder holds for the mirror.
inline std::wstring FormatFolderLine(const TStandinWords& words, bool created, int64_t files,
                                     const std::wstring& folder) {
  const std::wstring tag = words.NewDir;
  return L"\t" + (created ? tag : std::wstring(tag.size(), L' ')) + RightAligned(files, 10) +
         L"\t" + WithTrailingSeparator(folder) + L"\r\n";
}

// A destination folder that the source lacks, removed with all it held.
inline std::wstring FormatExtraFolderLine(const TStandinWords& words, int64_t entries,
                                          const std::wstring& folder) {
  return words.ExtraDir + RightAligned(entries, 10) + L"\t" + WithTrailingSeparator(folder) +
         L"\r\n";
}

// A file's line without its end: a copy's progress pieces follow on it (ProgressPieces).
inline std::wstring FormatFileHead(const TStandinWords& words, TFileAction action, int64_t size,
                                   const std::wstring& name) {
  const wchar_t* tag = L"";
  switch (action) {
  case TFileAction::NewFile:
    tag = words.NewFile;
    break;
  case TFileAction::Newer:
    tag = words.Newer;
    break;
  case TFileAction::Older:
    tag = words.Older;
    break;
  case TFileAction::Changed:
    tag = words.Changed;
    break;
  case TFileAction::ExtraFile:
    tag = words.ExtraFile;
    break;
  }
  return std::wstring(L"\t") + tag + L"\t\t" + RightAligned(size, 10) + L"\t" + name;
}

inline std::wstring FormatFileLine(const TStandinWords& words, TFileAction action, int64_t size,
                                   const std::wstring& name) {
  return FormatFileHead(words, action, size, name) + L"\r\n";
}

// "2024/05/01 12:00:00 ERROR 5 (0x00000005) Copying File C:\x\a.txt" and the system's text.
inline std::wstring FormatErrorLines(const TStandinWords& words, const TStandinTime& when,
                                     uint32_t code, const std::wstring& operation,
                                     const std::wstring& path, const std::wstring& systemText) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring hex(8, L'0');
  for (int i = 7; i >= 0; --i)
    hex[static_cast<size_t>(7 - i)] = kHex[(code >> (4 * i)) & 0xF];
  return FormatStandinTime(when) + words.Error + std::to_wstring(code) + L" (0x" + hex + L") " +
         operation + L" " + path + L"\r\n" + systemText + L"\r\n";
}

// The table that closes a pass.
inline std::wstring FormatSummary(const TStandinWords& words, const TStandinTotals& totals,
                                  const TStandinTime& ended) {
  const size_t width = words.ColumnWidth;
  const auto row = [&](const wchar_t* label, const TStandinCounts& c) {
    return RightAligned(label, words.LabelWidth) + RightAligned(c.Total, width) +
           RightAligned(c.Copied, width) + RightAligned(c.Skipped, width) + RightAligned(0, width) +
           RightAligned(c.Failed, width) + RightAligned(c.Extras, width) + L"\r\n";
  };
  std::wstring text = L"\r\n" + StandinRule() + L"\r\n\r\n";
  text += std::wstring(words.LabelWidth, L' ');
  for (const wchar_t* column : words.Columns)
    text += RightAligned(column, width);
  text += L"\r\n";
  text += row(words.DirsRow, totals.Dirs);
  text += row(words.FilesRow, totals.Files);
  text += row(words.BytesRow, totals.Bytes);
  text += words.Ended + FormatStandinTime(ended) + L"\r\n\r\n";
  return text;
}

// The last line while the source is watched between passes.
inline std::wstring FormatMonitorLine(const TStandinWords& words, int minutes, int changes) {
  return words.Waiting + std::to_wstring(minutes) + words.Minutes + std::to_wstring(changes) +
         words.Changes + L"\r\n";
}

inline const wchar_t* StandinUsageText() {
  return L"Usage :: robocopy source destination /MIR [/R:n] [/W:n] [/TEE] [/ETA] "
         L"[/XA:RASHCNETO]\r\n"
         L"                 [/XD dirs...] [/LOG:file] [/UNICODE] [/MOT:m] [/MON:n]\r\n"
         L"This is a stand-in of the mirroring tool for tests under Wine; it only mirrors.\r\n";
}
