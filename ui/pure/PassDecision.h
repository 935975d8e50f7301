#pragma once
// What one pass of a mirror run decides from what it found: the gauge, how the log's last line
// reaches the pane, the line that tells the tool's end, and what a truncation of the log says.
// The shell gathers the facts and applies the decision; nothing here touches a window or a file.
#include "ui/pure/LogText.h"
#include <cstdint>
#include <optional>
#include <string>

inline constexpr wchar_t kLogTruncatedText[] = L"Log truncado (reiniciado por tamanho excessivo).";
inline constexpr wchar_t kTruncationFailedText[] = L"N\u00e3o foi poss\u00edvel truncar o log: ";

// What a run remembers about its pane from pass to pass.
struct TRunPane {
  // The pane's last line is a message of this run's passes: the log's next line goes below it,
  // so that the message stays in view.
  bool KeepLastLine = false;
  // A failed truncation has been told; it is told once per run.
  bool TruncationFailureTold = false;
  bool operator==(const TRunPane&) const = default;
};

// What a pass found.
struct TPassFacts {
  // The log as read this pass, its last line already in its display form; nothing when no log
  // was there.
  std::optional<TLogSummary> Log;
  // The number of files below the source, once the count has ended.
  std::optional<int32_t> Total;
  // The pane's last line; nothing when the pane is empty.
  std::optional<std::wstring> PaneLastLine;
  // The exit code of the run's own tool, when it has ended since the previous pass.
  std::optional<uint32_t> ToolExitCode;
};

enum class TLineShow { Keep, Replace, Add };

struct TGaugeSetting {
  int32_t MaxValue = 0;
  int32_t Progress = 0;
  bool operator==(const TGaugeSetting&) const = default;
};

// What a pass shows, in this order: the gauge, the log's last line, the caret scrolled into
// view, then a message added below.
struct TPassView {
  std::optional<TGaugeSetting> Gauge; // nothing while there is no log or no count yet
  TLineShow Line = TLineShow::Keep;   // what the log's last line does to the pane's last line
  std::wstring LastLine;              // the line itself, for Replace and Add
  bool ScrollCaret = false;           // every pass that found a log
  std::optional<std::wstring> Message;
  bool operator==(const TPassView&) const = default;
};

// One pass: the gauge shows the progress lines against the count; the log's last line replaces
// the pane's last line (adds the first one to an empty pane, goes below a message the passes
// wrote, and is not written again when the pane already ends with it); the tool's end is told
// once, and the next line from the log goes below that message.
TPassView DecidePass(TRunPane& pane, const TPassFacts& facts);

// After an attempt to delete the oversized log: the truncation line when it was deleted; when
// it was not (the tool holds it without delete sharing), the failure with its reason, once per
// run. Either message stays in view below the log's next line.
std::optional<std::wstring> TruncationMessage(TRunPane& pane, bool deleted,
                                              const std::wstring& reason);
