#pragma once
// The two rules of letter case in this program, side by side so that neither is written twice:
// - ASCII letters only, as the system compares process names and the mirroring tool its
//   switches;
// - the system's rule for names (CompareStringOrdinal ignoring case; the file names, the file
//   list's mask and the overlap of two folders follow it): one table of capitals for the Basic
//   Multilingual Plane.
#include <string>

// The text with the ASCII letters a to z upper-cased; every other code unit as it is.
std::wstring UpperAscii(const std::wstring& text);

// The capital of a UTF-16 code unit as the system compares names letter case ignored; every
// unit without one is returned as it is. Only the letters whose capital has them, and only
// them, as its small letter are paired, so the micro sign U+00B5, final sigma U+03C2, dotless
// i U+0131 and long s U+017F keep their own case, and so does U+00DF. The table is the system's
// (tests/win/LetterCase_system_test.cpp checks it against CompareStringOrdinal for every unit).
wchar_t UpcaseChar(wchar_t c);
