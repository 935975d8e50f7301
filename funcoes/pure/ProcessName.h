#pragma once
// How the process terminator matches a process entry's executable text against a name.
#include <string>

// The part after the last "\" or ":"; the whole text when it has neither.
std::wstring ExecutableFilePart(const std::wstring& exeText);

// True when the upper-cased file-name part of exeText equals the upper-cased name, or failing
// that, when the upper-cased whole text does: a name with a folder matches only the whole text.
bool ProcessNameMatches(const std::wstring& exeText, const std::wstring& name);
