#include "ui/pure/PassDecision.h"

TPassView DecidePass(TRunPane& pane, const TPassFacts& facts) {
  TPassView view;
  if (facts.Log) {
    const TLogSummary& log = *facts.Log;
    if (facts.Total)
      view.Gauge = TGaugeSetting{*facts.Total, SyncProgress(log.Marked, *facts.Total)};
    if (log.HasLines) {
      if (pane.KeepLastLine || !facts.PaneLastLine) view.Line = TLineShow::Add;
      // An idle log gives the same line pass after pass: writing it again would only repaint.
      else if (*facts.PaneLastLine != log.LastLine)
        view.Line = TLineShow::Replace;
      if (view.Line != TLineShow::Keep) view.LastLine = log.LastLine;
      pane.KeepLastLine = false;
    }
    view.ScrollCaret = true;
  }
  if (facts.ToolExitCode) {
    view.Message =
        L"O robocopy terminou (c\u00f3digo " + std::to_wstring(*facts.ToolExitCode) + L").";
    pane.KeepLastLine = true;
  }
  return view;
}

std::optional<std::wstring> TruncationMessage(TRunPane& pane, bool deleted,
                                              const std::wstring& reason) {
  if (!deleted && pane.TruncationFailureTold) return std::nullopt;
  pane.KeepLastLine = true;
  if (deleted) return std::wstring(kLogTruncatedText);
  pane.TruncationFailureTold = true;
  return kTruncationFailedText + reason;
}
