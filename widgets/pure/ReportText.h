#pragma once
// Texts the error report and the log pane derive from their input.
#include <string>

// The error report's text: a full stop is appended when the message's last character has a
// code above that of "." (a message ending in a letter or "?" gets one, "." or "!" do not).
std::wstring ErrorReportText(const std::wstring& message);
