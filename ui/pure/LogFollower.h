#pragma once
// Follows the mirror tool's log as it grows: each pass decodes only the bytes appended since the
// previous one, and the summary is always the one SummarizeLog gives for all bytes so far.
#include "ui/pure/LogText.h"
#include <cstdint>
#include <string>
#include <string_view>

class TLogFollower {
public:
  explicit TLogFollower(TAnsiDecoder ansi);

  // Forgets the log: the next Feed starts a new one at its first byte. The shell calls it when
  // the log shrank, vanished or was replaced.
  void Reset();
  // Takes the bytes appended to the log since the previous Feed (or Reset), in any pieces.
  void Feed(std::string_view appended);
  // Equal to SummarizeLog of every byte fed since Reset.
  TLogSummary Summary() const;
  // Bytes fed since Reset: the offset from which the shell reads next.
  int64_t BytesSeen() const { return FBytesSeen; }

private:
  // What the decoded text so far says about its lines; holds the current and the last finished
  // line only.
  struct TLineTally {
    int32_t Marked = 0;         // counted lines (to their LF) that contain the marker
    bool CountedMarked = false; // the counted line in progress holds the marker; only LF clears
                                // it, so its CR pieces and a CR LF cut between passes count once
    bool HasFinished = false;   // at least one shown line has ended
    std::wstring Finished;      // the last finished shown line
    std::wstring Current;       // the shown line in progress (it exists once it has a character)
    bool AfterCr = false;       // the last unit was CR, so an LF that follows belongs to its break
    void Take(std::wstring_view units);
    TLogSummary Summary(TLogEncoding encoding) const;
  };

  void Consume(std::string_view bytes);
  void Decode(std::string_view bytes, std::wstring& units);

  TAnsiDecoder FAnsi;
  int64_t FBytesSeen = 0;
  bool FDecided = false; // the first bytes have chosen the encoding for good
  std::string FHead;     // the first bytes while they have not settled the encoding
  TLogEncoding FEncoding = TLogEncoding::Ansi;
  std::string FPending; // bytes of a character not yet complete
  TLineTally FTally;
};
