// A process for the tests to find and end by name: it waits, then exits with 7 after a
// minute so that a failed test leaves nothing behind for long.
#include <windows.h>

int wmain() {
  Sleep(60000);
  return 7;
}
