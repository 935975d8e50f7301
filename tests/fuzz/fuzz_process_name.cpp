// The process terminator's name matching on arbitrary executable texts and names: it agrees
// with a plain reading of the rule, ignores ASCII case only, and a name with a folder matches
// only the whole text.
#include "fuzz/FuzzText.h"
#include "funcoes/pure/LetterCase.h"
#include "funcoes/pure/ProcessName.h"
#include <string>

namespace {

using fuzz::Require;

const std::wstring kAlphabet = std::wstring(L"\\:robcpyROBCPY.exeEX ", 21) + L'\0' + wchar_t(0xE9) +
                               wchar_t(0xC9) + wchar_t(0x131) + wchar_t(0xFF41) + wchar_t(0xD800) +
                               wchar_t(0xDC00) + L'/' + L'Z' + L'z' + L'@';

bool SameIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - 32);
    if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Flips the case of the ASCII letters at the positions that bits select.
std::wstring FlipSomeCase(const std::wstring& text, uint8_t bits) {
  std::wstring flipped = text;
  for (size_t i = 0; i < flipped.size(); ++i) {
    if (!((bits >> (i % 8)) & 1)) continue;
    wchar_t& c = flipped[i];
    if (c >= L'a' && c <= L'z')
      c = static_cast<wchar_t>(c - 32);
    else if (c >= L'A' && c <= L'Z')
      c = static_cast<wchar_t>(c + 32);
  }
  return flipped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TReader in{data, size};
  const uint8_t bits = in.Byte();
  const std::wstring exeText = fuzz::ReadText(in, kAlphabet, 300);
  const std::wstring name = fuzz::ReadText(in, kAlphabet, 40);

  const std::wstring upper = UpperAscii(exeText);
  Require(upper.size() == exeText.size());
  Require(UpperAscii(upper) == upper);
  Require(SameIgnoringAsciiCase(upper, exeText));
  for (size_t i = 0; i < upper.size(); ++i)
    Require(upper[i] == exeText[i] || (exeText[i] >= L'a' && exeText[i] <= L'z'));

  const std::wstring part = ExecutableFilePart(exeText);
  Require(part.find_first_of(L"\\:") == std::wstring::npos);
  Require(part.size() <= exeText.size());
  Require(exeText.compare(exeText.size() - part.size(), part.size(), part) == 0);
  Require(part.size() == exeText.size() || exeText[exeText.size() - part.size() - 1] == L'\\' ||
          exeText[exeText.size() - part.size() - 1] == L':');

  const bool matches = ProcessNameMatches(exeText, name);
  Require(matches == (SameIgnoringAsciiCase(part, name) || SameIgnoringAsciiCase(exeText, name)));
  Require(ProcessNameMatches(exeText, exeText));
  Require(ProcessNameMatches(FlipSomeCase(exeText, bits), FlipSomeCase(name, ~bits)) == matches);
  // A name with a folder in it matches only the whole text.
  if (name.find_first_of(L"\\:") != std::wstring::npos)
    Require(matches == SameIgnoringAsciiCase(exeText, name));
  // The file-name part of a path matches; another folder in front changes nothing.
  if (!part.empty()) Require(ProcessNameMatches(L"C:\\x\\" + exeText, part));
  return 0;
}
