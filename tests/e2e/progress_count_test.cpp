// The gauge counts files, not progress pieces: the run follows logs in the form the mirroring
// tool writes (each file's progress as pieces that begin with CR, on one line that CR LF ends),
// byte for byte from fixtures in each of its encodings, against a source of ten files.
#include "tests/e2e/FaultSupport.h"
#include <gtest/gtest.h>

namespace {

using namespace e2e;

struct TFixtureCase {
  const char* Name;
  const wchar_t* File;  // in tests/e2e/fixtures
  bool Oem850;          // 8-bit text in OEM 850: the program must run on a Portuguese system
  std::wstring Monitor; // the fixture's last line as the pane shows it
};

void PrintTo(const TFixtureCase& c, std::ostream* out) {
  *out << c.Name;
}

// Text appended to the log in the fixture's form.
std::string InForm(const TFixtureCase& c, const std::string& ascii) {
  if (c.Oem850) return ascii;
  std::string bytes;
  for (char unit : ascii) {
    bytes.push_back(unit);
    bytes.push_back('\0');
  }
  return bytes;
}

class ProgressCount : public TToolAsideTest, public ::testing::WithParamInterface<TFixtureCase> {};

TEST_P(ProgressCount, EachFileCountsOnceHoweverManyPiecesItsLineHolds) {
  const TFixtureCase& c = GetParam();
  // Wine takes the code pages from the Unix locale: ctest runs the OEM case again as
  // replimar_e2e_tests_pt_BR with LANG=pt_BR.UTF-8.
  if (c.Oem850 && GetOEMCP() != 850)
    GTEST_SKIP() << "OEM code page " << GetOEMCP() << ", not 850: run with LANG=pt_BR.UTF-8";
  for (int i = 1; i <= 10; ++i)
    e2e::WriteFile(FSource + L"\\f" + std::to_wstring(i) + L".txt", "dados");
  const std::string fixture = ReadFileBytes(std::wstring(REPLIMAR_FIXTURES_PATH) + L"\\" + c.File);
  ASSERT_FALSE(fixture.empty()) << "fixture missing";
  StartFollowing();

  // Five files done, each in four pieces: half of the source's ten.
  AppendFile(LogPath(), fixture);
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == c.Monitor; }, kActionTimeout))
      << Utf8(LastPaneLine(*FApp));
  EXPECT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"50%"; }, kActionTimeout))
      << Utf8(FApp->GaugeText());

  // A sixth file whose pieces arrive across passes counts once while it is still arriving,
  // and not again when its CR and then its LF come.
  const struct {
    const char* bytes;
    const wchar_t* pane;
  } steps[] = {
      {"\t    New File  \t\t        40\tf6.txt\r  0%  ", L"  0%  "},
      {"\r 50%  \r", L" 50%  "},
      {"100%  \r", L"100%  "},
      {"\n", L"100%  "},
  };
  for (const auto& step : steps) {
    AppendFile(LogPath(), InForm(c, step.bytes));
    EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == step.pane; }, kActionTimeout))
        << step.bytes << ": " << Utf8(LastPaneLine(*FApp));
    // The pane shows the step only after the pass has set the gauge.
    EXPECT_EQ(FApp->GaugeText(), L"60%") << step.bytes;
  }
  EXPECT_EQ(FApp->Close(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ProgressCount,
    ::testing::Values(TFixtureCase{"Utf16WithMark", L"progress-utf16-bom.log", false,
                                   L"Monitor : Waiting for 2 minutes and 1 changes..."},
                      TFixtureCase{"Utf16WithoutMark", L"progress-utf16.log", false,
                                   L"Monitor : Waiting for 2 minutes and 1 changes..."},
                      TFixtureCase{"Oem850", L"progress-oem850.log", true,
                                   L"Monitor : Aguardando 2 minutos e 1 altera\u00e7\u00f5es..."}),
    [](const ::testing::TestParamInfo<TFixtureCase>& info) { return info.param.Name; });

} // namespace
