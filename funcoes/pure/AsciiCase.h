#pragma once
// Letter case of the ASCII letters only, as the system compares process names and the mirroring
// tool its switches.
#include <string>

// The text with the ASCII letters a to z upper-cased; every other code unit as it is.
std::wstring UpperAscii(const std::wstring& text);
