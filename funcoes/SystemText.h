#pragma once
// Text helpers at the Win32 boundary.
#include <windows.h>
#include <string>

// The system's description of an error code, without the trailing line break.
std::wstring SysErrorMessage(DWORD code);
// UTF-16 to UTF-8, for diagnostics written to a console or a test log.
std::string ToUtf8(const std::wstring& text);
