// The pure parts of the mirroring tool's stand-in: command line, options, paths, log text and
// change counting. No <windows.h> here.
#include "funcoes/pure/CommandLineArgs.h"
#include "wine-standin/pure/StandinArgs.h"
#include "wine-standin/pure/StandinLogText.h"
#include "wine-standin/pure/StandinPaths.h"
#include "wine-standin/pure/StandinSnapshot.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using TArgs = std::vector<std::wstring>;

// The command line the program builds, for a source and destination inside a subfolder.
const wchar_t kMirrorCommand[] =
    L"robocopy \"C:\\Dados ção\\Origem\" \"D:\\Cópia 😀\" /MIR /R:0 /W:0 /TEE /ETA /XA:SH "
    L"/XD \"C:\\Dados ção\\Origem\\$RECYCLE.BIN\" "
    L"\"C:\\Dados ção\\Origem\\System Volume Information\" "
    L"/LOG:\"C:\\Users\\A B\\AppData\\Local\\Temp\\robocopy_log.txt\" /UNICODE /MOT:2 /MON:1";

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

} // namespace

TEST(StandinArgs, ReadsTheProgramsMirrorCommand) {
  const TStandinOptions options = ParseStandinOptions(SplitCommandLineArgs(kMirrorCommand));
  EXPECT_EQ(options.Source, L"C:\\Dados ção\\Origem");
  EXPECT_EQ(options.Destination, L"D:\\Cópia 😀");
  EXPECT_EQ(options.ExcludedDirs, (TArgs{L"C:\\Dados ção\\Origem\\$RECYCLE.BIN",
                                         L"C:\\Dados ção\\Origem\\System Volume Information"}));
  EXPECT_EQ(options.LogPath, L"C:\\Users\\A B\\AppData\\Local\\Temp\\robocopy_log.txt");
  EXPECT_EQ(options.ExcludedAttributes, StandinAttribute::System | StandinAttribute::Hidden);
  EXPECT_EQ(options.Retries, 0);
  EXPECT_EQ(options.WaitSeconds, 0);
  EXPECT_EQ(options.MonitorChanges, 1);
  EXPECT_EQ(options.MonitorMinutes, 2);
  EXPECT_TRUE(options.Monitors());
  EXPECT_TRUE(options.Tee);
  EXPECT_TRUE(options.Unicode);
  EXPECT_EQ(options.SwitchText, L"/MIR /R:0 /W:0 /TEE /ETA /XA:SH /UNICODE /MOT:2 /MON:1");
}

TEST(StandinArgs, DriveRootsAndLowerCaseSwitches) {
  const TStandinOptions options = ParseStandinOptions(SplitCommandLineArgs(
      L"robocopy \"C:\" \"D:\" /mir /xa:h /xd \"C:\\$RECYCLE.BIN\" temp /log:c:\\l.txt /mon:3"));
  EXPECT_EQ(options.Source, L"C:");
  EXPECT_EQ(options.Destination, L"D:");
  EXPECT_EQ(options.ExcludedDirs, (TArgs{L"C:\\$RECYCLE.BIN", L"temp"}));
  EXPECT_EQ(options.LogPath, L"c:\\l.txt");
  EXPECT_EQ(options.ExcludedAttributes, StandinAttribute::Hidden);
  EXPECT_EQ(options.MonitorChanges, 3);
  EXPECT_EQ(options.MonitorMinutes, 0);
  EXPECT_FALSE(options.Tee);
  EXPECT_FALSE(options.Unicode);
}

TEST(StandinArgs, WithoutMonitorSwitchesThereIsOnePass) {
  const TStandinOptions options = ParseStandinOptions(SplitCommandLineArgs(L"robocopy a b /MIR"));
  EXPECT_FALSE(options.Monitors());
  EXPECT_EQ(
      ParseStandinOptions(SplitCommandLineArgs(L"robocopy a b /MIR /MOT:1")).ChangesToWaitFor(), 1);
}

TEST(StandinArgs, RejectsWhatItCannotFollow) {
  struct TCase {
    const wchar_t* line;
    const wchar_t* message;
  };
  const TCase cases[] = {
      {L"robocopy", L"No Source and Destination Directory Specified."},
      {L"robocopy \"C:\\src\" /MIR", L"No Source and Destination Directory Specified."},
      {L"robocopy a b /R:0", L"The stand-in only mirrors: /MIR is required."},
      {L"robocopy a b c /MIR", L"Invalid Parameter #3 : \"c\""},
      {L"robocopy a \"\" /MIR", L"Invalid Parameter #2 : \"\""},
      {L"robocopy a b /MIR /BOGUS", L"Invalid Parameter #4 : \"/BOGUS\""},
      {L"robocopy a b /MIR /R:x", L"Invalid Parameter #4 : \"/R:x\""},
      {L"robocopy a b /MIR /MON:", L"Invalid Parameter #4 : \"/MON:\""},
      {L"robocopy a b /MIR /MOT:1234567", L"Invalid Parameter #4 : \"/MOT:1234567\""},
      {L"robocopy a b /MIR /LOG:", L"Invalid Parameter #4 : \"/LOG:\""},
      {L"robocopy a b /MIR /LOG+:x", L"Invalid Parameter #4 : \"/LOG+:x\""},
      {L"robocopy a b /MIR /XA:SQ", L"Invalid Parameter #4 : \"/XA:SQ\""},
      {L"robocopy a b /MIR:1", L"Invalid Parameter #3 : \"/MIR:1\""},
  };
  for (const TCase& c : cases) {
    try {
      ParseStandinOptions(SplitCommandLineArgs(c.line));
      ADD_FAILURE() << "accepted: " << Narrow(c.line);
    } catch (const EStandinUsage& error) {
      EXPECT_EQ(error.Message(), c.message) << Narrow(c.line);
    }
  }
}

TEST(StandinArgs, MinuteLengthFromTheEnvironment) {
  EXPECT_EQ(MinuteMilliseconds(L""), 60000);
  EXPECT_EQ(MinuteMilliseconds(L"200"), 200);
  EXPECT_EQ(MinuteMilliseconds(L"0"), 60000);
  EXPECT_EQ(MinuteMilliseconds(L"-5"), 60000);
  EXPECT_EQ(MinuteMilliseconds(L"12x"), 60000);
  EXPECT_EQ(MinuteMilliseconds(L"9999999999"), 60000);
}

TEST(StandinPaths, FolderForms) {
  const std::pair<const wchar_t*, const wchar_t*> trims[] = {
      {L"C:\\", L"C:\\"},
      {L"C:\\a\\\\", L"C:\\a"},
      {L"\\\\?\\C:\\", L"\\\\?\\C:\\"},
      {L"\\\\srv\\share\\", L"\\\\srv\\share"},
      {L"C:\\a", L"C:\\a"},
      {L"\\", L"\\"},
  };
  for (const auto& [given, expected] : trims)
    EXPECT_EQ(TrimTrailingSeparators(given), expected);
  EXPECT_EQ(ExtendedLengthPath(L"C:\\x"), L"\\\\?\\C:\\x");
  EXPECT_EQ(ExtendedLengthPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
  EXPECT_EQ(ExtendedLengthPath(L"\\\\srv\\share\\x"), L"\\\\?\\UNC\\srv\\share\\x");
  EXPECT_TRUE(IsBareFolderName(L"temp"));
  EXPECT_FALSE(IsBareFolderName(L"C:\\temp"));
  EXPECT_FALSE(IsBareFolderName(L"a\\temp"));
}

TEST(StandinLogText, LinesLookLikeTheToolsOwn) {
  EXPECT_EQ(FormatFileLine(EnglishWords(), TFileAction::NewFile, 1234, L"name.txt"),
            L"\t    New File  \t\t      1234\tname.txt\r\n");
  EXPECT_EQ(FormatFileHead(EnglishWords(), TFileAction::NewFile, 1234, L"name.txt"),
            L"\t    New File  \t\t      1234\tname.txt");
  EXPECT_EQ(FormatFileLine(EnglishWords(), TFileAction::ExtraFile, 7, L"x"),
            L"\t  *EXTRA File \t\t         7\tx\r\n");
  EXPECT_EQ(FormatFolderLine(EnglishWords(), true, 3, L"C:\\dst\\sub"),
            L"\t  New Dir          3\tC:\\dst\\sub\\\r\n");
  EXPECT_EQ(FormatFolderLine(EnglishWords(), false, 0, L"C:\\"),
            L"\t                   0\tC:\\\r\n");
  EXPECT_EQ(FormatMonitorLine(EnglishWords(), 2, 1),
            L"Monitor : Waiting for 2 minutes and 1 changes...\r\n");
  EXPECT_EQ(FormatStandinTime({2024, 5, 1, 7, 8, 9}), L"2024/05/01 07:08:09");
  EXPECT_EQ(FormatErrorLines(EnglishWords(), {2024, 12, 31, 23, 59, 58}, 0x20, L"Copying File",
                             L"C:\\a", L"busy"),
            L"2024/12/31 23:59:58 ERROR 32 (0x00000020) Copying File C:\\a\r\nbusy\r\n");
}

TEST(StandinLogText, OnlyProgressPiecesCarryThePercentSign) {
  // The program counts log lines with "%" as files done.
  const TStandinOptions options = ParseStandinOptions(SplitCommandLineArgs(kMirrorCommand));
  TStandinTotals totals;
  totals.Files = {100, 99, 1, 0, 3};
  const std::wstring texts[] = {
      FormatHeader(EnglishWords(), options, L"C:\\src", L"C:\\dst", {2024, 1, 2, 3, 4, 5}),
      FormatSummary(EnglishWords(), totals, {2024, 1, 2, 3, 4, 5}),
      FormatFolderLine(EnglishWords(), true, 12, L"C:\\x"),
      FormatExtraFolderLine(EnglishWords(), 2, L"C:\\y"),
      FormatFileLine(EnglishWords(), TFileAction::Older, 5, L"f"),
      FormatMonitorLine(EnglishWords(), 2, 1),
      StandinUsageText(),
  };
  for (const std::wstring& text : texts)
    EXPECT_EQ(text.find(L'%'), std::wstring::npos);
  const std::wstring summary = FormatSummary(EnglishWords(), totals, {2024, 1, 2, 3, 4, 5});
  EXPECT_NE(summary.find(L"   Files :       100        99         1         0         0         3"),
            std::wstring::npos);
  const std::wstring header =
      FormatHeader(EnglishWords(), options, L"C:\\src", L"D:\\", {2024, 1, 2, 3, 4, 5});
  EXPECT_NE(header.find(L"   Source : C:\\src\\\r\n     Dest : D:\\\r\n"), std::wstring::npos);
  EXPECT_NE(header.find(L"  Started : 2024/01/02 03:04:05"), std::wstring::npos);
  EXPECT_NE(header.find(L" Exc Dirs : C:\\Dados ção\\Origem\\$RECYCLE.BIN\r\n"),
            std::wstring::npos);
}

TEST(StandinSnapshot, CountsAddedRemovedAndChangedEntries) {
  const TStandinSnapshot base = {
      {L"a.txt", {false, 5, 100}}, {L"sub", {true, 0, 0}}, {L"sub\\b.txt", {false, 7, 200}}};
  struct TCase {
    const char* what;
    TStandinSnapshot after;
    int64_t changes;
  };
  const TCase cases[] = {
      {"same", base, 0},
      {"added",
       {{L"a.txt", {false, 5, 100}},
        {L"new", {false, 1, 1}},
        {L"sub", {true, 0, 0}},
        {L"sub\\b.txt", {false, 7, 200}}},
       1},
      {"removed", {{L"a.txt", {false, 5, 100}}, {L"sub", {true, 0, 0}}}, 1},
      {"size",
       {{L"a.txt", {false, 6, 100}}, {L"sub", {true, 0, 0}}, {L"sub\\b.txt", {false, 7, 200}}},
       1},
      {"time",
       {{L"a.txt", {false, 5, 101}}, {L"sub", {true, 0, 0}}, {L"sub\\b.txt", {false, 7, 200}}},
       1},
      {"file became folder",
       {{L"a.txt", {true, 0, 0}}, {L"sub", {true, 0, 0}}, {L"sub\\b.txt", {false, 7, 200}}},
       1},
      {"all gone", {}, 3},
      {"renamed",
       {{L"A.txt", {false, 5, 100}}, {L"sub", {true, 0, 0}}, {L"sub\\b.txt", {false, 7, 200}}},
       2},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(CountChanges(base, c.after), c.changes) << c.what;
  EXPECT_EQ(CountChanges({}, base), 3);
}
