// The file list's mask matching on arbitrary patterns and names: the shortcut for a star and plain
// text agrees with the general matcher, letter case never counts, a name without wildcards
// matches itself, and "*" and "*.*" match every name.
#include "fuzz/FuzzText.h"
#include "funcoes/pure/LetterCase.h"
#include "widgets/pure/FileMask.h"
#include <string>

namespace {

using fuzz::Require;

const std::wstring kAlphabet = std::wstring(L"**??..  aAbB<>\";\\:", 18) + wchar_t(0xE9) +
                               wchar_t(0xC9) + wchar_t(0x3B1) + wchar_t(0x391) + wchar_t(0x131);

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text)
    c = UpcaseChar(c);
  return text;
}

// Small and capital ASCII letters swapped.
std::wstring SwapCase(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z')
      c = static_cast<wchar_t>(c - 0x20);
    else if (c >= L'A' && c <= L'Z')
      c = static_cast<wchar_t>(c + 0x20);
  }
  return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TReader in{data, size};
  const std::wstring pattern = fuzz::ReadText(in, kAlphabet, 40);
  const std::wstring name = fuzz::ReadText(in, kAlphabet, 60);
  const std::wstring shortName = fuzz::ReadText(in, kAlphabet, 12);

  const TFileMask mask(pattern);
  const int count = mask.MatchCount(name, shortName);
  if (pattern.find(L';') != std::wstring::npos) return 0;
  // One piece: it is matched here or left to the system, never both.
  Require(mask.SearchedBySystem().size() == (NeedsSystemSearch(pattern) ? 1u : 0u));
  if (NeedsSystemSearch(pattern)) {
    Require(count == 0);
    return 0;
  }
  const std::wstring expression = Upper(DosExpression(pattern));
  const bool general = NameInExpression(expression, name) ||
                       (!shortName.empty() && NameInExpression(expression, shortName));
  Require(count == (general ? 1 : 0));
  Require(mask.MatchCount(SwapCase(name), SwapCase(shortName)) == count);
  Require(TFileMask(SwapCase(pattern)).MatchCount(name, shortName) == count);
  if (!name.empty()) {
    Require(TFileMask(L"*").MatchCount(name, L"") == 1);
    Require(TFileMask(L"*.*").MatchCount(name, L"") == 1);
  }
  // A name without wildcards, as the path rules leave it, is found by itself.
  const std::wstring plain = pattern.substr(0, pattern.find_last_not_of(L". ") + 1);
  if (plain.find_first_of(L"*?") == std::wstring::npos) Require(mask.MatchCount(plain, L"") == 1);
  return 0;
}
