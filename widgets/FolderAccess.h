#pragma once
// The process's current folder, as the lists use it.
#include <string>

// The current folder as the system reports it (no trailing "\" except a drive root).
std::wstring CurrentFolder();
// Makes folder the current folder; raises EInOutError naming the folder when it cannot.
void EnterFolder(const std::wstring& folder);
