#pragma once
// Numbered resources of the program: the resource script (main/resources.rc) and the window that
// loads them both reach them here. The window icon has a number, not a name: named groups come
// first in the executable, and the first icon group is the one Explorer and shortcuts show,
// which must be the twelve-image MAINICON.
#define IDI_FORMICON 100
