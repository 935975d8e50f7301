#include "ui/pure/LogFollower.h"
#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Appended bytes are decoded in slices of this size, so a large first read needs no text buffer
// of its size.
constexpr size_t kSliceSize = 64 * 1024;

int32_t SaturatedIncrement(int32_t value) {
  return value < std::numeric_limits<int32_t>::max() ? value + 1 : value;
}

} // namespace

void TLogFollower::TLineTally::Take(std::wstring_view units) {
  for (const wchar_t unit : units) {
    // The count's lines end at LF only.
    if (unit == kProgressMarker) CountedMarked = true;
    if (unit == kCountedLineEnd) {
      if (CountedMarked) Marked = SaturatedIncrement(Marked);
      CountedMarked = false;
    }
    // The shown lines end at CR, LF or CR LF.
    if (AfterCr) {
      AfterCr = false;
      if (unit == L'\n') continue;
    }
    if (unit == L'\r' || unit == L'\n') {
      HasFinished = true;
      std::swap(Finished, Current);
      Current.clear();
      AfterCr = unit == L'\r';
    } else {
      Current.push_back(unit);
    }
  }
}

TLogSummary TLogFollower::TLineTally::Summary(TLogEncoding encoding) const {
  TLogSummary summary;
  summary.Marked = CountedMarked ? SaturatedIncrement(Marked) : Marked;
  summary.HasLines = HasFinished || !Current.empty();
  summary.LastLine = Current.empty() ? Finished : Current;
  summary.Encoding = encoding;
  return summary;
}

TLogFollower::TLogFollower(TAnsiDecoder ansi) : FAnsi(std::move(ansi)) {}

void TLogFollower::Reset() {
  FBytesSeen = 0;
  FDecided = false;
  FHead = {};
  FEncoding = TLogEncoding::Ansi;
  FPending = {};
  FTally = {};
}

void TLogFollower::Feed(std::string_view appended) {
  FBytesSeen += static_cast<int64_t>(appended.size());
  if (FDecided) {
    Consume(appended);
    return;
  }
  // Until a mark or enough bytes settle the encoding, the first bytes wait; Summary reads them
  // as a whole log.
  const size_t taken = std::min(appended.size(), kEncodingProbeSize - FHead.size());
  FHead.append(appended.substr(0, taken));
  if (ByteOrderMarkSize(FHead) == 0 && FHead.size() < kEncodingProbeSize) return;
  FDecided = true;
  FEncoding = DetectLogEncoding(FHead);
  const std::string head = FHead.substr(ByteOrderMarkSize(FHead));
  FHead.clear();
  Consume(head);
  Consume(appended.substr(taken));
}

void TLogFollower::Consume(std::string_view bytes) {
  std::wstring units;
  for (size_t at = 0; at < bytes.size(); at += kSliceSize) {
    units.clear();
    Decode(bytes.substr(at, kSliceSize), units);
    FTally.Take(units);
  }
}

// Decodes the pending bytes and then these, keeping back an incomplete character at the end.
void TLogFollower::Decode(std::string_view bytes, std::wstring& units) {
  std::string joined;
  if (!FPending.empty()) {
    joined = FPending + std::string(bytes);
    bytes = joined;
  }
  size_t used = 0;
  switch (FEncoding) {
  case TLogEncoding::Utf8:
    used = AppendUtf8(bytes, false, units);
    break;
  case TLogEncoding::Utf16LE:
  case TLogEncoding::Utf16BE:
    used = AppendUtf16(bytes, FEncoding == TLogEncoding::Utf16BE, units);
    break;
  case TLogEncoding::Ansi:
    used = bytes.size() - (FAnsi.IncompleteTail ? FAnsi.IncompleteTail(bytes) : 0);
    units += FAnsi.Decode(bytes.substr(0, used));
    break;
  }
  FPending = std::string(bytes.substr(used));
}

TLogSummary TLogFollower::Summary() const {
  if (!FDecided) return SummarizeLog(FHead, FAnsi);
  if (FPending.empty()) return FTally.Summary(FEncoding);
  // The log ends inside a character: read its bytes as the end of the text, as SummarizeLog
  // would, without keeping what they give.
  std::wstring tail;
  switch (FEncoding) {
  case TLogEncoding::Utf8:
    AppendUtf8(FPending, true, tail);
    break;
  case TLogEncoding::Utf16LE:
  case TLogEncoding::Utf16BE:
    break; // an odd last byte is dropped
  case TLogEncoding::Ansi:
    tail = FAnsi.Decode(FPending);
    break;
  }
  if (tail.empty()) return FTally.Summary(FEncoding);
  TLineTally provisional = FTally;
  provisional.Take(tail);
  return provisional.Summary(FEncoding);
}
