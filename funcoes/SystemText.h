#pragma once
// Text helpers at the Win32 boundary: error texts, code-page conversions and decoders.
#include "funcoes/pure/TextDecoder.h"
#include <windows.h>
#include <string>
#include <string_view>

// The system's description of an error code, without the trailing line break.
std::wstring SysErrorMessage(DWORD code);
// UTF-16 to the 8-bit text of a code page (CP_ACP, CP_OEMCP, 850, CP_UTF8, ...); a character
// the code page lacks becomes its default character. Empty when the system cannot convert.
std::string Encode(const std::wstring& text, UINT codePage);
// 8-bit text of a code page as UTF-16, the counterpart of Encode. strict: empty when the bytes
// are not valid in the code page (MB_ERR_INVALID_CHARS) rather than decoded with replacements.
std::wstring Decode(std::string_view bytes, UINT codePage, bool strict = false);
// The message of a library's error (what() of a std::exception): UTF-8 when it is valid UTF-8,
// else text of the ANSI code page.
std::wstring RuntimeMessageText(std::string_view text);
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
