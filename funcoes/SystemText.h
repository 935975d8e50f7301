#pragma once
// Text helpers at the Win32 boundary: error texts, code-page conversions and decoders.
#include "funcoes/pure/TextDecoder.h"
#include <windows.h>
#include <string>

// The system's description of an error code, without the trailing line break.
std::wstring SysErrorMessage(DWORD code);
// UTF-16 to the 8-bit text of a code page (CP_ACP, CP_OEMCP, 850, CP_UTF8, ...); a character
// the code page lacks becomes its default character. Empty when the system cannot convert.
std::string Encode(const std::wstring& text, UINT codePage);
// Encode to UTF-8, for diagnostics written to a console or a test log.
inline std::string ToUtf8(const std::wstring& text) {
  return Encode(text, CP_UTF8);
}
// A code page as a decoder of text that arrives in pieces (MultiByteToWideChar), holding back
// the bytes of a character not yet complete: a DBCS lead byte, or an unfinished UTF-8 sequence
// for 65001.
TAnsiDecoder CodePageDecoder(UINT codePage);
// The system's ANSI code page as such a decoder.
const TAnsiDecoder& SystemAnsiDecoder();
// The text through the ANSI code page, translated from the OEM code page, and back.
std::wstring OemToDisplay(const std::wstring& line);
