#pragma once
// The mirroring tool this window started last. One mirror at a time: two /MIR tools with
// swapped folders would each delete what the other copies. The tool is known by the process
// handle kept when it started, never by its name, so another program's tool is left alone.
#include "funcoes/Handles.h"
#include <windows.h>
#include <optional>
#include <string>

class TMirrorTool {
public:
  // Ends the tool started earlier, when it still runs, and waits for its end, so that its
  // log is free again. Raises Exception when it has not ended within kEndTimeout.
  void EndPrevious();
  // Ends the tool started earlier (EndPrevious), then starts the tool with these arguments
  // (BuildSyncArguments). Returns 0, or the system's error code when it could not be started.
  DWORD Start(const std::wstring& arguments);
  // Counts the starts: a run tells its own tool from one a later (nested) run started.
  unsigned Generation() const { return FGeneration; }
  // The exit code of the tool of that generation once it has ended, given once; nothing while
  // it runs, after it was given, or when a later start has taken its place.
  std::optional<DWORD> TakeExitCode(unsigned generation);

  static constexpr DWORD kEndTimeout = 10000; // ms

private:
  UniqueHandle FProcess;
  unsigned FGeneration = 0;
};
