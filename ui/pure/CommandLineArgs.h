#pragma once
// How a Windows program splits its command line into arguments (the rules of
// CommandLineToArgvW and of the C runtime), to check what a built command line will mean.
#include <string>
#include <string_view>
#include <vector>

// The arguments of a command line, the program first. The line ends at its first NUL. The
// program is the text up to the next space or tab, or, when it starts with '"', up to the next
// '"' (no escapes). Then arguments are separated by spaces and tabs outside quotes; '"' toggles
// quoting; 2n "\" before '"' give n "\" and the '"' toggles, 2n+1 give n "\" and a literal '"';
// "\" elsewhere is literal; "" inside quotes is a literal '"'.
std::vector<std::wstring> SplitCommandLineArgs(std::wstring_view commandLine);
