#include "ui/pure/LogText.h"
#include <limits>

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

} // namespace

TLogEncoding DetectLogEncoding(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return TLogEncoding::Utf8;
  if (StartsWith(bytes, "\xFF\xFE")) return TLogEncoding::Utf16LE;
  if (StartsWith(bytes, "\xFE\xFF")) return TLogEncoding::Utf16BE;
  const std::string_view probe = bytes.substr(0, kEncodingProbeSize);
  size_t pairs = probe.size() / 2, nulls = 0;
  for (size_t i = 1; i < probe.size(); i += 2)
    if (probe[i] == '\0') ++nulls;
  return pairs > 0 && nulls * 2 > pairs ? TLogEncoding::Utf16LE : TLogEncoding::Ansi;
}

size_t ByteOrderMarkSize(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return 3;
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) return 2;
  return 0;
}

std::wstring DecodeLogText(std::string_view bytes, const TAnsiDecoder& ansi) {
  const TLogEncoding encoding = DetectLogEncoding(bytes);
  const std::string_view text = bytes.substr(ByteOrderMarkSize(bytes));
  std::wstring result;
  switch (encoding) {
  case TLogEncoding::Utf8:
    AppendUtf8(text, true, result);
    break;
  case TLogEncoding::Utf16LE:
  case TLogEncoding::Utf16BE:
    AppendUtf16(text, encoding == TLogEncoding::Utf16BE, result);
    break;
  case TLogEncoding::Ansi:
    result = ansi.Decode(text);
    break;
  }
  return result;
}

std::vector<std::wstring> SplitLogLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    if (c != L'\r' && c != L'\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = ++i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

int32_t CountMarkedLines(std::wstring_view text) {
  int32_t marked = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(kCountedLineEnd, start);
    if (end == std::wstring_view::npos) end = text.size();
    if (text.substr(start, end - start).find(kProgressMarker) != std::wstring_view::npos &&
        marked < std::numeric_limits<int32_t>::max())
      ++marked;
    start = end + 1;
  }
  return marked;
}

TLogSummary SummarizeLog(std::string_view bytes, const TAnsiDecoder& ansi) {
  TLogSummary summary;
  summary.Encoding = DetectLogEncoding(bytes);
  const std::wstring text = DecodeLogText(bytes, ansi);
  const std::vector<std::wstring> lines = SplitLogLines(text);
  summary.Marked = CountMarkedLines(text);
  summary.HasLines = !lines.empty();
  if (summary.HasLines) summary.LastLine = lines.back();
  return summary;
}

bool LogTooLarge(int64_t size) {
  return size > kLogSizeLimit;
}

int32_t SyncProgress(int32_t marked, int32_t total) {
  return marked < total ? marked : total;
}

bool NeedsOemTranslation(TLogEncoding encoding) {
  return encoding == TLogEncoding::Ansi;
}
