#include "funcoes/SystemText.h"

std::wstring SysErrorMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) text = L"System error " + std::to_wstring(code);
  return text;
}

std::string Encode(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

std::wstring Decode(std::string_view bytes, UINT codePage, bool strict) {
  if (bytes.empty()) return {};
  const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring text(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), length, text.data(), size);
  return text;
}

std::wstring RuntimeMessageText(std::string_view text) {
  std::wstring wide = Decode(text, CP_UTF8, true);
  return wide.empty() ? Decode(text, CP_ACP) : wide;
}

TAnsiDecoder CodePageDecoder(UINT codePage) {
  TAnsiDecoder decoder;
  decoder.Decode = [codePage](std::string_view bytes) { return Decode(bytes, codePage); };
  const UINT actual = codePage == CP_ACP ? GetACP() : codePage;
  CPINFO info{};
  if (actual == CP_UTF8) {
    // The lead-byte test says nothing about UTF-8: a character split between two reads would
    // become two replacement characters.
    decoder.IncompleteTail = [](std::string_view bytes) { return Utf8HeldBackTail(bytes); };
  } else if (GetCPInfo(actual, &info) && info.MaxCharSize > 1) {
    decoder.IncompleteTail = [actual](std::string_view bytes) -> size_t {
      // A lead byte of a double-byte code page whose trail byte has not arrived yet.
      size_t i = 0;
      while (i < bytes.size()) {
        if (IsDBCSLeadByteEx(actual, static_cast<BYTE>(bytes[i]))) {
          if (i + 1 >= bytes.size()) return 1;
          i += 2;
        } else {
          ++i;
        }
      }
      return 0;
    };
  }
  return decoder;
}

const TAnsiDecoder& SystemAnsiDecoder() {
  static const TAnsiDecoder decoder = CodePageDecoder(CP_ACP);
  return decoder;
}

std::wstring OemToDisplay(const std::wstring& line) {
  if (line.empty()) return line;
  std::string ansi = Encode(line, CP_ACP);
  OemToCharBuffA(ansi.data(), ansi.data(), static_cast<DWORD>(ansi.size()));
  return SystemAnsiDecoder().Decode(ansi);
}
