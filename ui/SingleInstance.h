#pragma once
// One copy of the program per user session. A second start (a second double-click on the
// shortcut) must not run the start-up, which ends every mirroring tool, the first copy's
// running mirror included: it brings the running window forward and exits.
#include "funcoes/Handles.h"

class TSingleInstance {
public:
  // Claims the session's one copy. When another copy holds it, finds that copy's main window,
  // restores it when minimised and brings it to the front; First() is then false.
  TSingleInstance();
  // True when this process is the one copy and goes on with the start-up.
  bool First() const { return FFirst; }

  // How long a second copy looks for the first one's window, which appears only once the first
  // copy's start-up has shown it.
  static constexpr unsigned kFindTimeout = 10000; // ms

private:
  UniqueHandle FClaim; // a named mutex, held for the process's life
  bool FFirst = false;
};
