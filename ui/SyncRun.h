#pragma once
// One mirror run between its passes: the start of its tool, the count of files below its
// source, the log it follows and what its pane shows. The window's RunSync drives it; the
// decisions of a pass are DecidePass's (ui/pure/PassDecision.h).
#include "ui/LogReader.h"
#include "ui/MirrorTool.h"
#include "ui/pure/PassDecision.h"
#include <windows.h>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class TSyncRun {
public:
  // source: the folder as the run prepared it ("C:" for a drive root); tool: the generation of
  // the tool this run started (TMirrorTool::Generation).
  TSyncRun(const std::wstring& source, std::wstring logPath, unsigned tool);
  // Ends the count if it still runs.
  ~TSyncRun();
  TSyncRun(const TSyncRun&) = delete;
  TSyncRun& operator=(const TSyncRun&) = delete;

  // What a pass finds: the log (its last line in display form), the count once it has ended,
  // and the end of the run's own tool. paneLastLine is the pane's, nothing when it is empty.
  TPassFacts Observe(TMirrorTool& tool, std::optional<std::wstring> paneLastLine);
  // The pause between passes, a yield point: the window's messages are dispatched as they
  // arrive (any handler may run, a nested run included). Returns early once stop is set.
  void Pause(DWORD milliseconds, const bool& stop);
  // Deletes the log when it has grown past the limit; the line the pane is to add, if any.
  std::optional<std::wstring> TruncateIfTooLarge();

  TRunPane Pane;

private:
  std::wstring FLogPath;
  unsigned FTool;
  // The count of files runs on the pool (a source on a server that stops answering holds only
  // the pool's thread); the window's thread reads its total once it has come back.
  struct TCount {
    std::atomic<bool> Cancelled{false};
    std::optional<int32_t> Total; // written and read on the window's thread
  };
  std::shared_ptr<TCount> FCount;
  TLogReader FLog;
};
