#pragma once
// Reading the mirror tool's log: encoding by byte-order mark, decoding to UTF-16, splitting into
// lines, and what a pass of the run takes from it.
#include "funcoes/pure/TextDecoder.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Log size above which the run deletes the log (5 MiB); a log of exactly this size stays.
inline constexpr int64_t kLogSizeLimit = 5242880;
// A log line that reports copy progress contains this character.
inline constexpr wchar_t kProgressMarker = L'%';
// What ends a line for the count of files done. The tool writes a file's progress as pieces
// that each begin with CR, on one line that CR LF ends; so for the count a line runs to its LF,
// and a file counts once however many pieces it shows.
inline constexpr wchar_t kCountedLineEnd = L'\n';

enum class TLogEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// What one pass of the run takes from the log.
struct TLogSummary {
  int32_t Marked = 0;    // lines up to each LF that contain kProgressMarker (CountMarkedLines)
  bool HasLines = false; // the log holds at least one line
  std::wstring LastLine; // the last line, empty when there is none
  TLogEncoding Encoding = TLogEncoding::Ansi;
  bool operator==(const TLogSummary&) const = default;
};

// The bytes at the start of a log without a byte-order mark that tell UTF-16LE from 8-bit text.
inline constexpr size_t kEncodingProbeSize = 64;

// The encoding its first bytes choose: EF BB BF UTF-8, FF FE UTF-16LE, FE FF UTF-16BE; without
// a mark, UTF-16LE when most bytes at odd offsets among the first kEncodingProbeSize are NUL
// (ANSI and OEM text never hold NUL, while the tool's ASCII header in UTF-16LE is half NULs);
// else ANSI.
TLogEncoding DetectLogEncoding(std::string_view bytes);
// Length of the byte-order mark at the start of bytes (0 when there is none).
size_t ByteOrderMarkSize(std::string_view bytes);

// The log's text: the mark skipped, the rest decoded by its encoding (an odd last byte of
// UTF-16 is dropped).
std::wstring DecodeLogText(std::string_view bytes, const TAnsiDecoder& ansi);

// Lines of a text: a line ends at CR, LF or the pair CR LF (one break); a break at the very
// end adds no empty line; an empty text has no lines; NUL is an ordinary character.
std::vector<std::wstring> SplitLogLines(std::wstring_view text);

// The files done in a decoded log: the number of lines that contain kProgressMarker, where a
// line runs to its LF (or the end of the text), whatever CRs it holds; a line counts once.
int32_t CountMarkedLines(std::wstring_view text);

// The whole log read at once: decoded, split, counted.
TLogSummary SummarizeLog(std::string_view bytes, const TAnsiDecoder& ansi);

// True when the log is to be deleted: strictly larger than kLogSizeLimit.
bool LogTooLarge(int64_t size);
// The gauge's progress: marked, but never more than total.
int32_t SyncProgress(int32_t marked, int32_t total);
// True when the last line is shown after the OEM translation: only a log read as 8-bit ANSI
// text; a Unicode log's characters are already right.
bool NeedsOemTranslation(TLogEncoding encoding);
