#include "widgets/pure/FileMask.h"
#include "funcoes/pure/LetterCase.h"
#include <algorithm>

namespace {
// Step 1: a path's last part loses its trailing dots and blanks.
std::wstring Trimmed(const std::wstring& pattern) {
  const size_t end = pattern.find_last_not_of(L". ");
  return end == std::wstring::npos ? std::wstring() : pattern.substr(0, end + 1);
}

bool IsWildcard(wchar_t c) {
  return c == L'*' || c == L'?' || c == kDosStar || c == kDosQm || c == kDosDot;
}

// Whether name ends with tail (already upper-cased), letter case ignored.
bool EndsWithUpper(std::wstring_view name, const std::wstring& tail) {
  if (name.size() < tail.size()) return false;
  const size_t start = name.size() - tail.size();
  // From the end: the extensions of a mask mostly differ in their last characters.
  for (size_t i = tail.size(); i-- > 0;)
    if (UpcaseChar(name[start + i]) != tail[i]) return false;
  return true;
}
} // namespace

std::vector<std::wstring> SplitMask(const std::wstring& mask) {
  std::vector<std::wstring> pieces;
  size_t start = 0;
  for (;;) {
    const size_t semicolon = mask.find(L';', start);
    pieces.push_back(mask.substr(start, semicolon - start));
    if (semicolon == std::wstring::npos) break;
    start = semicolon + 1;
  }
  return pieces;
}

bool NeedsSystemSearch(const std::wstring& pattern) {
  if (pattern.find_first_of(std::wstring(L"\\/:<>\"|\0", 8)) != std::wstring::npos) return true;
  return Trimmed(pattern).empty();
}

std::wstring DosExpression(const std::wstring& pattern) {
  const bool hadDot = !pattern.empty() && pattern.back() == L'.';
  const std::wstring p = Trimmed(pattern);
  if (p == L"*.*") return L"*";
  std::wstring out = p;
  for (size_t i = 0; i < p.size(); ++i) {
    const wchar_t next = i + 1 < p.size() ? p[i + 1] : L'\0';
    if (p[i] == L'?')
      out[i] = kDosQm;
    else if (p[i] == L'.' && (next == L'?' || next == L'*'))
      out[i] = kDosDot;
    else if (p[i] == L'*' && (next == L'.' || (i + 1 == p.size() && hadDot)))
      out[i] = kDosStar;
  }
  return out;
}

bool NameInExpression(const std::wstring& expression, std::wstring_view name) {
  if (expression.empty() || name.empty()) return false;
  const size_t m = expression.size();
  const size_t lastDot = name.rfind(L'.');
  // The states are the positions in the expression that the name read so far can reach.
  std::vector<char> current(m + 1, 0);
  std::vector<char> next(m + 1, 0);
  current[0] = 1;
  for (size_t i = 0;; ++i) {
    const bool atEnd = i == name.size();
    const wchar_t c = atEnd ? L'\0' : UpcaseChar(name[i]);
    // Steps that take no character, seen from the character about to be read.
    for (size_t p = 0; p < m; ++p) {
      if (!current[p]) continue;
      const wchar_t e = expression[p];
      if (e == L'*' || e == kDosStar || (e == kDosQm && (atEnd || c == L'.')) ||
          (e == kDosDot && atEnd))
        current[p + 1] = 1;
    }
    if (atEnd) return current[m] != 0;
    std::fill(next.begin(), next.end(), 0);
    bool any = false;
    for (size_t p = 0; p < m; ++p) {
      if (!current[p]) continue;
      const wchar_t e = expression[p];
      size_t to = m + 1; // none
      if (e == L'*')
        to = p;
      else if (e == kDosStar)
        to = c == L'.' && i == lastDot ? m + 1 : p;
      else if (e == L'?')
        to = p + 1;
      else if (e == kDosQm)
        to = c == L'.' ? m + 1 : p + 1;
      else if (e == kDosDot)
        to = c == L'.' ? p + 1 : m + 1;
      else if (UpcaseChar(e) == c)
        to = p + 1;
      if (to <= m) {
        next[to] = 1;
        any = true;
      }
    }
    if (!any) return false;
    current.swap(next);
  }
}

TFileMask::TFileMask(const std::wstring& mask) {
  for (const std::wstring& piece : SplitMask(mask)) {
    if (NeedsSystemSearch(piece)) {
      FSearched.push_back(piece);
      continue;
    }
    TPattern pattern;
    pattern.Expression = DosExpression(piece);
    for (wchar_t& c : pattern.Expression)
      c = UpcaseChar(c);
    // A leading star and plain text after it, as most masks are written: a test of the end.
    const std::wstring& e = pattern.Expression;
    if ((e[0] == L'*' || e[0] == kDosStar) &&
        std::none_of(e.begin() + 1, e.end(), [](wchar_t c) { return IsWildcard(c); })) {
      pattern.Tail = e.substr(1);
      // DOS_STAR cannot take the last "."; a tail without one leaves no "." to the star.
      pattern.Kind = e[0] == L'*' || pattern.Tail.find(L'.') != std::wstring::npos
                         ? TPattern::TKind::EndsWith
                         : TPattern::TKind::EndsWithNoDot;
    }
    FPatterns.push_back(std::move(pattern));
  }
}

bool TFileMask::Matches(const TPattern& pattern, std::wstring_view name) {
  switch (pattern.Kind) {
  case TPattern::TKind::EndsWith:
    return !name.empty() && EndsWithUpper(name, pattern.Tail);
  case TPattern::TKind::EndsWithNoDot:
    return !name.empty() && name.find(L'.') == std::wstring_view::npos &&
           EndsWithUpper(name, pattern.Tail);
  case TPattern::TKind::General:
    break;
  }
  return NameInExpression(pattern.Expression, name);
}

int TFileMask::MatchCount(std::wstring_view name, std::wstring_view shortName) const {
  int count = 0;
  for (const TPattern& pattern : FPatterns)
    if (Matches(pattern, name) || (!shortName.empty() && Matches(pattern, shortName))) ++count;
  return count;
}
