#pragma once
// The process's current folder, as the lists use it.
#include <string>

// The current folder as the system reports it (no trailing "\" except a drive root).
std::wstring CurrentFolder();
// Makes folder the current folder and answers it as the system then reports it. A folder too
// long to be the current folder (past kLongestCurrentFolder, which the long-path policy alone
// would lift) is checked and answered in full form without becoming current, so that the
// lists show it on every system alike. Raises EInOutError naming the folder when it cannot be
// entered.
std::wstring EnterFolder(const std::wstring& folder);
