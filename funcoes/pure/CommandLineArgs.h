#pragma once
// How a Windows program's command line splits into arguments: the rule CommandLineToArgvW
// follows.
#include <string>
#include <string_view>
#include <vector>

// The arguments of a command line, the program first. The line ends at its first NUL.
// - The program is the text up to the next space or tab or, when it starts with '"', up to the
//   next '"'; no escapes there, so "C:\Tools\" keeps its "\".
// - Then arguments are separated by spaces and tabs outside quotes, and '"' opens or closes
//   quoting.
// - 2n "\" before '"' give n "\" and the '"' opens or closes quoting; 2n+1 give n "\" and a
//   literal '"'; "\" elsewhere is literal.
// - Of consecutive '"' every third is a literal '"': "" inside quotes gives a literal '"' and
//   ends quoting ("a""b c" gives a"b and c).
std::vector<std::wstring> SplitCommandLineArgs(std::wstring_view commandLine);
