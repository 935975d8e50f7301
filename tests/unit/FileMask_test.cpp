#include "widgets/pure/FileMask.h"
#include "ui/pure/WindowTexts.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

struct TExpressionCase {
  const wchar_t* Pattern;
  const wchar_t* Expression;
};

class DosExpressionTest : public ::testing::TestWithParam<TExpressionCase> {};

TEST_P(DosExpressionTest, IsWhatTheFileSystemIsGiven) {
  EXPECT_EQ(DosExpression(GetParam().Pattern), GetParam().Expression)
      << "pattern \"" << Narrow(GetParam().Pattern) << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, DosExpressionTest,
    ::testing::Values(TExpressionCase{L"*", L"*"}, TExpressionCase{L"*.*", L"*"},
                      TExpressionCase{L"*.", L"<"}, TExpressionCase{L"*.TXT", L"<.TXT"},
                      TExpressionCase{L" *.TXT", L" <.TXT"}, TExpressionCase{L"a?.txt", L"a>.txt"},
                      TExpressionCase{L"*.?", L"<\">"}, TExpressionCase{L"a.*", L"a\"*"},
                      TExpressionCase{L"a*.*", L"a<\"*"}, TExpressionCase{L"abc", L"abc"},
                      // The last part of a path loses its trailing dots and blanks.
                      TExpressionCase{L"*.TXT.", L"<.TXT"}, TExpressionCase{L"*.TXT  ", L"<.TXT"},
                      TExpressionCase{L"*.txt. ", L"<.txt"}, TExpressionCase{L"a*..", L"a<"}));

struct TMatchCase {
  const wchar_t* Pattern;
  const wchar_t* Name;
  const wchar_t* ShortName;
  bool Matches;
};

class FileMaskMatchTest : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(FileMaskMatchTest, MatchesAsTheSystemsSearch) {
  const TMatchCase& c = GetParam();
  const TFileMask mask(c.Pattern);
  ASSERT_TRUE(mask.SearchedBySystem().empty());
  EXPECT_EQ(mask.MatchCount(c.Name, c.ShortName), c.Matches ? 1 : 0)
      << "pattern \"" << Narrow(c.Pattern) << "\", name \"" << Narrow(c.Name) << "\", short \""
      << Narrow(c.ShortName) << "\"";
  // The general matcher agrees with the shortcut for a star and plain text.
  const bool general = NameInExpression(DosExpression(c.Pattern), c.Name) ||
                       (*c.ShortName && NameInExpression(DosExpression(c.Pattern), c.ShortName));
  EXPECT_EQ(general, c.Matches) << "general matcher, pattern \"" << Narrow(c.Pattern) << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileMaskMatchTest,
    ::testing::Values(
        // Every name.
        TMatchCase{L"*", L"abc", L"", true}, TMatchCase{L"*.*", L"abc", L"", true},
        TMatchCase{L"*.*", L"a.b.c", L"", true}, TMatchCase{L"*.*", L".profile", L"", true},
        // "*." only names without a ".".
        TMatchCase{L"*.", L"abc", L"", true}, TMatchCase{L"*.", L"a.txt", L"", false},
        // An extension, letter case ignored; only the last one counts.
        TMatchCase{L"*.TXT", L"a.txt", L"", true}, TMatchCase{L"*.TXT", L"B.TXT", L"", true},
        TMatchCase{L"*.TXT", L"a.b.txt", L"", true}, TMatchCase{L"*.TXT", L"a.txtx", L"", false},
        TMatchCase{L"*.TXT", L"atxt", L"", false}, TMatchCase{L"*.TXT", L"a.txt.bak", L"", false},
        TMatchCase{L"*.TXT.", L"a.txt", L"", true}, TMatchCase{L"*.TXT ", L"a.txt", L"", true},
        // A leading star may take nothing.
        TMatchCase{L"*.TXT", L".txt", L"", true}, TMatchCase{L"*a", L"a", L"", true},
        TMatchCase{L"*?", L"a", L"", true},
        // A leading blank belongs to the pattern.
        TMatchCase{L" *.TXT", L" c.txt", L"", true}, TMatchCase{L" *.TXT", L"c.txt", L"", false},
        // "?" is one character, or none before a "." or at the end.
        TMatchCase{L"?.txt", L"a.txt", L"", true}, TMatchCase{L"?.txt", L"ab.txt", L"", false},
        TMatchCase{L"?.txt", L" c.txt", L"", false}, TMatchCase{L"a?.txt", L"a.txt", L"", true},
        TMatchCase{L"a?.txt", L"ab.txt", L"", true}, TMatchCase{L"a?.txt", L"abc.txt", L"", false},
        TMatchCase{L"a??", L"a", L"", true}, TMatchCase{L"a??", L"abc", L"", true},
        TMatchCase{L"a??", L"abcd", L"", false}, TMatchCase{L"a??", L"a.b", L"", false},
        TMatchCase{L"*.?", L"a", L"", true}, TMatchCase{L"*.?", L"a.b", L"", true},
        TMatchCase{L"*.?", L"a.bc", L"", false},
        // "a.*": with any extension or none.
        TMatchCase{L"a.*", L"a", L"", true}, TMatchCase{L"a.*", L"a.mp4", L"", true},
        TMatchCase{L"a.*", L"ab", L"", false}, TMatchCase{L"a*.*", L"abc.def.ghi", L"", true},
        // Stars inside.
        TMatchCase{L"*ab*c", L"xxabyyabc", L"", true},
        TMatchCase{L"*ab*c", L"xxabyyab", L"", false},
        TMatchCase{L"clip0*.mp?", L"clip000123.mp4", L"", true},
        // The short name matches too, when the entry has one.
        TMatchCase{L"*.MP4", L"video.mp4x", L"VIDEO~1.MP4", true},
        TMatchCase{L"*.MP4", L"video.mp4x", L"", false},
        TMatchCase{L"VIDEO~1.MP4", L"video.mp4x", L"VIDEO~1.MP4", true},
        TMatchCase{L"*.MP4X", L"video.mp4x", L"VIDEO~1.MP4", true},
        // Letters beyond ASCII compare by their capitals.
        TMatchCase{L"CAF\u00C9.*", L"caf\u00E9.txt", L"", true},
        TMatchCase{L"*\u0391\u0392\u0393*", L"x\u03B1\u03B2\u03B3.txt", L"", true},
        TMatchCase{L"\u0416*", L"\u0436\u0443\u0440.doc", L"", true},
        TMatchCase{L"\u00DE*", L"\u00FE.txt", L"", true},
        TMatchCase{L"\u0388*", L"\u03AD.txt", L"", true},
        TMatchCase{L"\u00E9*", L"e.txt", L"", false}));

TEST(SplitMask, KeepsEveryPieceAsWritten) {
  const auto pieces = SplitMask(L"*.MBD; *.TXT;*.MP2");
  EXPECT_EQ(pieces, (std::vector<std::wstring>{L"*.MBD", L" *.TXT", L"*.MP2"}));
  EXPECT_EQ(SplitMask(L"*.*"), (std::vector<std::wstring>{L"*.*"}));
  EXPECT_EQ(SplitMask(L"a;;b;"), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
}

TEST(MediaMask, IsTheExact131CharacterTextOf22Patterns) {
  const std::wstring mask = kMediaMask;
  EXPECT_EQ(mask.size(), 131u);
  const auto pieces = SplitMask(mask);
  ASSERT_EQ(pieces.size(), 22u);
  EXPECT_EQ(pieces[1], L" *.TXT");
  EXPECT_EQ(pieces.back(), L"*.MKV");
}

TEST(FileMask, AFileIsCountedOncePerPieceThatMatchesIt) {
  const TFileMask mask(L"*.TXT;a*; *.TXT;A.TXT");
  EXPECT_EQ(mask.MatchCount(L"a.txt", L""), 3);
  EXPECT_EQ(mask.MatchCount(L"b.txt", L""), 1);
  EXPECT_EQ(mask.MatchCount(L" a.txt", L""), 2);
  EXPECT_EQ(mask.MatchCount(L"c.mp3", L""), 0);
}

TEST(FileMask, TheMediaMaskOfTheWindow) {
  const TFileMask mask(
      L"*.MBD; *.TXT;*.MP2;*.MP3;*.MP4;*.MOV;*.MXF;*.AVI;*.ASF;*.BMP;*.DV;*.FLV;*.GXF;*.JPG;"
      L"*.MPG;*.WMA;*.WMV;*.TGA;*.VOB;*.XML;*.PNG;*.MKV");
  EXPECT_TRUE(mask.SearchedBySystem().empty());
  EXPECT_EQ(mask.MatchCount(L"clip000000.mp4", L"CLIP00~1.MP4"), 1);
  EXPECT_EQ(mask.MatchCount(L"notes.txt", L""), 0);
  EXPECT_EQ(mask.MatchCount(L" notes.txt", L"NOTES~1.TXT"), 1);
  EXPECT_EQ(mask.MatchCount(L"a.dv", L""), 1);
  EXPECT_EQ(mask.MatchCount(L"a.dvd", L""), 0);
  EXPECT_EQ(mask.MatchCount(L"Movie.MKV", L""), 1);
}

TEST(FileMask, PiecesThatNameMoreThanAFileAreLeftToTheSystem) {
  const TFileMask mask(L"*.TXT;sub\\*.txt;;x:y;a/b;<.txt;..; ;*.MP3");
  EXPECT_EQ(mask.SearchedBySystem(),
            (std::vector<std::wstring>{L"sub\\*.txt", L"", L"x:y", L"a/b", L"<.txt", L"..", L" "}));
  EXPECT_EQ(mask.MatchCount(L"a.txt", L""), 1);
  EXPECT_EQ(mask.MatchCount(L"a.mp3", L""), 1);
}

} // namespace
