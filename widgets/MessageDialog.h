#pragma once
// The program's modal message box, drawn in the active style: the application title as
// caption, the text word-wrapped at half the screen's width, one "OK" button that is both the
// default and the cancel button, centred in the work area of the primary screen.
#include <string>

enum class TMessageIcon { None, Stop };

void ShowMessageDialog(const std::wstring& text, TMessageIcon icon);
// The error report: the message with its full stop rule, a stop icon, one "OK" button.
void ShowErrorReport(const std::wstring& message);
