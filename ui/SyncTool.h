#pragma once
// What the mirror run needs from the system: the log's place and starting the mirroring tool.
#include "funcoes/Handles.h"
#include <windows.h>
#include <string>

// The user's temporary folder (GetTempPathW). Raises EInOutError when there is none or it is
// not a folder.
std::wstring TempFolder();
// Starts the mirroring tool from the system folder (never from the current folder, which the
// lists move around), hidden, with its arguments (BuildSyncArguments) in UTF-16. Returns 0 and
// the tool's process handle in process, or the system's error code when it could not be
// started.
DWORD StartSyncTool(const std::wstring& arguments, UniqueHandle& process);
