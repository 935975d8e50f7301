#pragma once
// A file list's mask matched the way the system's pattern search (FindFirstFileW on
// "folder\pattern") matches, so that one listing of a folder serves every pattern of the mask.
//
// The rule, as Windows applies it to one pattern:
// 1. The pattern is the last part of a path: trailing dots and blanks are dropped, a leading
//    blank stays.
// 2. FindFirstFileW hands the file system "*" for "*.*"; otherwise it turns the DOS conventions
//    into the file system's extra wildcards: "?" becomes DOS_QM; a "." before "?" or "*" becomes
//    DOS_DOT; a "*" before "." becomes DOS_STAR, and so does a "*" that ends a pattern whose
//    last dot step 1 dropped ("*." is DOS_STAR).
// 3. The file system (FsRtlIsNameInExpression) matches the long name, and the 8.3 short name
//    when the entry has one, letter case ignored: "*" any run of characters; "?" one character;
//    DOS_STAR any run that does not take the name's last "."; DOS_QM one character other than
//    ".", or nothing at a "." or at the end of the name; DOS_DOT a ".", or nothing at the end.
// So "*" and "*.*" match every name, "*." names without a ".", "a?.txt" both "a.txt" and
// "ab.txt", and "*.MP4" also "video.mp4x" through its short name (VIDEO~1.MP4). (Wine's own
// search knows no DOS_QM or DOS_STAR: there "?" is always one character and "*." every name;
// the list follows Windows.)
//
// Letter case: names and patterns are compared by their capitals (UpcaseChar), as the system
// compares names.
//
// A pattern with a character that has a meaning of its own in a path ("\", "/", ":", the
// extra wildcards "<", ">", "\"", "|", a NUL) or that step 1 leaves empty is not matched here:
// the list asks the system for it with a search of its own.
#include <string>
#include <string_view>
#include <vector>

// The mask split at every ";"; each piece kept exactly as written (blanks included).
std::vector<std::wstring> SplitMask(const std::wstring& mask);

// A mask split at every ";" (SplitMask), each piece ready to be matched.
class TFileMask {
public:
  explicit TFileMask(const std::wstring& mask);
  // The pieces that the system must search itself, as written, in mask order.
  const std::vector<std::wstring>& SearchedBySystem() const { return FSearched; }
  // How many of the other pieces match the entry (name, or shortName when not empty): a file
  // is listed once per piece that matches it.
  int MatchCount(std::wstring_view name, std::wstring_view shortName) const;

private:
  struct TPattern {
    std::wstring Expression; // after steps 1 and 2, upper-cased
    enum class TKind { General, EndsWith, EndsWithNoDot } Kind = TKind::General;
    std::wstring Tail; // EndsWith*: the literal text after the leading star
  };
  static bool Matches(const TPattern& pattern, std::wstring_view name);
  std::vector<TPattern> FPatterns;
  std::vector<std::wstring> FSearched;
};

// The file system's extra wildcards (steps 2 and 3).
constexpr wchar_t kDosStar = L'<';
constexpr wchar_t kDosQm = L'>';
constexpr wchar_t kDosDot = L'"';

// Steps 1 and 2: the expression the file system is given for a pattern (letter case kept).
std::wstring DosExpression(const std::wstring& pattern);
// Step 3 for one name: whether it is in the expression (letter case ignored).
bool NameInExpression(const std::wstring& expression, std::wstring_view name);
// Whether the system searches this pattern itself (see above).
bool NeedsSystemSearch(const std::wstring& pattern);
