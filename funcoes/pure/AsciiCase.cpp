#include "funcoes/pure/AsciiCase.h"

std::wstring UpperAscii(const std::wstring& text) {
  std::wstring upper = text;
  for (wchar_t& c : upper)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return upper;
}
