// The stand-in's modes (environment variables) and the progress pieces it writes per file.
#include "wine-standin/pure/StandinLogText.h"
#include "wine-standin/pure/StandinModes.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(StandinModes, DefaultsAreTheRealToolsAndEveryNamedModeIsRead) {
  const TStandinModes plain = ParseStandinModes(L"", L"", L"", true);
  EXPECT_EQ(plain.Hold, TStandinLogHold::Held);
  EXPECT_EQ(plain.Encoding, TStandinLogEncoding::Utf16WithMark);
  EXPECT_FALSE(plain.Exit);
  EXPECT_EQ(ParseStandinModes(L"", L"", L"", false).Encoding, TStandinLogEncoding::Ansi);

  const struct {
    const wchar_t* hold;
    const wchar_t* encoding;
    TStandinLogHold expectedHold;
    TStandinLogEncoding expectedEncoding;
  } cases[] = {
      {L"held", L"utf16-bom", TStandinLogHold::Held, TStandinLogEncoding::Utf16WithMark},
      {L"held-delete", L"utf16", TStandinLogHold::HeldDelete,
       TStandinLogEncoding::Utf16WithoutMark},
      {L"reopen", L"oem850", TStandinLogHold::Reopen, TStandinLogEncoding::Oem850},
  };
  for (const auto& c : cases) {
    const TStandinModes modes = ParseStandinModes(c.hold, c.encoding, L"", true);
    EXPECT_EQ(modes.Hold, c.expectedHold);
    EXPECT_EQ(modes.Encoding, c.expectedEncoding);
  }
  const TStandinModes exit = ParseStandinModes(L"", L"", L"8@1500", true);
  ASSERT_TRUE(exit.Exit);
  EXPECT_EQ(exit.Exit->Code, 8);
  EXPECT_EQ(exit.Exit->AfterMs, 1500);
}

TEST(StandinModes, AMisspeltModeIsRefusedNotTakenForTheDefault) {
  for (const auto& bad :
       {std::vector<std::wstring>{L"Held", L"", L""},
        std::vector<std::wstring>{L"", L"utf-16", L""}, std::vector<std::wstring>{L"", L"", L"8"},
        std::vector<std::wstring>{L"", L"", L"@100"}, std::vector<std::wstring>{L"", L"", L"8@"},
        std::vector<std::wstring>{L"", L"", L"x@100"},
        std::vector<std::wstring>{L"", L"", L"8@1e3"}})
    EXPECT_THROW(ParseStandinModes(bad[0], bad[1], bad[2], true), EStandinUsage);
}

TEST(StandinProgress, SeveralPiecesPerFileOneForAnEmptyFile) {
  EXPECT_EQ(ProgressPieces(0), std::vector<std::wstring>{L"\r100%  \r\n"});
  const std::vector<std::wstring> small = ProgressPieces(13);
  EXPECT_EQ(small, (std::vector<std::wstring>{L"\r  0%  ", L"\r 30%  ", L"\r 61%  ", L"\r 92%  ",
                                              L"\r100%  \r\n"}));
  for (const uint64_t size : {1ull, 2ull, 100ull, 16384ull, 1000000ull, 5000000000ull}) {
    const std::vector<std::wstring> pieces = ProgressPieces(size);
    ASSERT_GE(pieces.size(), 2u) << size;
    EXPECT_EQ(pieces.front(), L"\r  0%  ") << size;
    EXPECT_EQ(pieces.back(), L"\r100%  \r\n") << size;
    EXPECT_LE(pieces.size(), 18u) << size;
    int previous = -1;
    for (size_t i = 0; i < pieces.size(); ++i) {
      const std::wstring& piece = pieces[i];
      // Each begins with CR, right-aligned in four characters; only the last has an LF.
      ASSERT_EQ(piece.find(L'%'), 4u) << size;
      ASSERT_EQ(piece[0], L'\r') << size;
      EXPECT_EQ(piece.find(L'\n') != std::wstring::npos, i + 1 == pieces.size()) << size;
      const int percent = std::stoi(piece.substr(1, 3));
      EXPECT_GT(percent, previous) << size;
      previous = percent;
    }
  }
  EXPECT_GE(ProgressPieces(1000000).size(), 10u); // a large file shows many steps
}

TEST(StandinLogText, PortugueseTextsCarryAccentsAndNoPercentSign) {
  TStandinTotals totals;
  totals.Files = {3, 2, 1, 0, 0};
  const std::wstring monitor = FormatMonitorLine(PortugueseWords(), 1, 1);
  EXPECT_EQ(monitor, L"Monitor : Aguardando 1 minutos e 1 altera\u00e7\u00f5es...\r\n");
  const std::wstring summary = FormatSummary(PortugueseWords(), totals, {2024, 1, 2, 3, 4, 5});
  EXPECT_NE(summary.find(L"Diret\u00f3rios :"), std::wstring::npos);
  EXPECT_NE(summary.find(L"  Arquivos :             3             2             1"),
            std::wstring::npos)
      << std::string(summary.begin(), summary.end());
  EXPECT_NE(summary.find(L"T\u00e9rmino : 2024/01/02 03:04:05"), std::wstring::npos);
  EXPECT_EQ(summary.find(L'%'), std::wstring::npos);
  EXPECT_EQ(monitor.find(L'%'), std::wstring::npos);
}

} // namespace
