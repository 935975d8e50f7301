#include "funcoes/pure/CommandLineArgs.h"
#include "ui/pure/SyncCommand.h"
#include "tests/SyncIntendedArgs.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using TArgs = std::vector<std::wstring>;

TArgs IntendedArgs(const std::wstring& program, const std::wstring& source,
                   const std::wstring& destination, const std::wstring& logPath) {
  return IntendedSyncArgs(program, source, destination, logPath);
}

const std::wstring kLog = L"C:\\Users\\Op\\AppData\\Local\\Temp\\robocopy_log.txt";

} // namespace

TEST(SyncCommand, PrepareRemovesEveryTrailingSeparator) {
  const struct {
    std::wstring folder, expected;
  } cases[] = {
      {L"C:\\", L"C:"},
      {L"D:", L"D:"},
      {L"C:\\Dados\\Projetos", L"C:\\Dados\\Projetos"},
      {L"\\\\server\\share\\", L"\\\\server\\share"},
      {L"\\\\server\\share", L"\\\\server\\share"},
      {L"C:\\A\\\\\\", L"C:\\A"},
      {L"C:\\A\\ ", L"C:\\A\\ "},
      {L"\\", L""},
      {L"\\\\", L""},
      {L"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PrepareSyncFolder(c.folder), c.expected)
        << std::string(c.folder.begin(), c.folder.end());
}

TEST(SyncCommand, CommandOfADriveRootFollowsTheFormatExactly) {
  EXPECT_EQ(
      BuildSyncCommand(PrepareSyncFolder(L"C:\\"), PrepareSyncFolder(L"E:\\"), kLog),
      L"robocopy \"C:\\.\" \"E:\\.\" /MIR /R:0 /W:0 /TEE /ETA /XA:SH /XD \"C:\\$RECYCLE.BIN\" "
      L"\"C:\\System Volume Information\" "
      L"/LOG:\"C:\\Users\\Op\\AppData\\Local\\Temp\\robocopy_log.txt\" /UNICODE /MOT:2 /MON:1");
}

TEST(SyncCommand, ExclusionsOfASubfolderLieInsideIt) {
  EXPECT_EQ(BuildSyncCommand(L"C:\\Dados\\Fotos 2024", L"\\\\nas\\backup", L"C:\\T\\x.txt"),
            L"robocopy \"C:\\Dados\\Fotos 2024\" \"\\\\nas\\backup\" /MIR /R:0 /W:0 /TEE /ETA "
            L"/XA:SH /XD \"C:\\Dados\\Fotos 2024\\$RECYCLE.BIN\" "
            L"\"C:\\Dados\\Fotos 2024\\System Volume Information\" /LOG:\"C:\\T\\x.txt\" "
            L"/UNICODE /MOT:2 /MON:1");
}

TEST(SyncCommand, ShownCommandAndProcessCommandLineShareTheirArguments) {
  const std::wstring args = BuildSyncArguments(L"C:\\A", L"D:\\B", kLog);
  EXPECT_EQ(BuildSyncCommand(L"C:\\A", L"D:\\B", kLog), L"robocopy " + args);
  EXPECT_EQ(BuildSyncProcessCommandLine(L"C:\\Windows\\system32\\robocopy.exe", args),
            L"\"C:\\Windows\\system32\\robocopy.exe\" " + args);
}

TEST(SyncCommand, PreparedFoldersReachTheToolAsExactlyTheIntendedArguments) {
  const std::wstring folders[] = {
      L"C:\\",          L"\\\\server\\share\\",          L"C:\\Pasta com espa\u00e7os\\",
      L"C:\\A\\\\",     L"C:\\100% & ^ | < > ( ) ! ' `", L"C:\\tab\there",
      L"  C:\\leading", L"C:\\\u65e5\u672c\\\U0001F600", L"C:\\ends with dot.",
  };
  for (const std::wstring& raw : folders) {
    const std::wstring folder = PrepareSyncFolder(raw);
    ASSERT_TRUE(IsQuotableFolder(folder));
    EXPECT_EQ(SplitCommandLineArgs(BuildSyncCommand(folder, L"D:\\Destino", kLog)),
              IntendedArgs(L"robocopy", folder, L"D:\\Destino", kLog));
    EXPECT_EQ(SplitCommandLineArgs(BuildSyncCommand(L"D:\\Origem", folder, kLog)),
              IntendedArgs(L"robocopy", L"D:\\Origem", folder, kLog));
    EXPECT_EQ(
        SplitCommandLineArgs(BuildSyncProcessCommandLine(L"C:\\Windows\\System32\\robocopy.exe",
                                                         BuildSyncArguments(folder, folder, kLog))),
        IntendedArgs(L"C:\\Windows\\System32\\robocopy.exe", folder, folder, kLog));
  }
}

TEST(SyncCommand, AnUnpreparedShareRootWouldSwallowTheFollowingArguments) {
  // The fault that PrepareSyncFolder mends: "\\server\share\" as destination escapes its
  // closing quote, and the options become part of the destination.
  const TArgs args = SplitCommandLineArgs(BuildSyncCommand(L"C:\\A", L"\\\\server\\share\\", kLog));
  EXPECT_NE(args, IntendedArgs(L"robocopy", L"C:\\A", L"\\\\server\\share\\", kLog));
  ASSERT_GE(args.size(), 3u);
  EXPECT_EQ(args[2].rfind(L"\\\\server\\share\" /MIR", 0), 0u);
}

TEST(SyncCommand, FoldersReachTheToolAsAbsolutePaths) {
  const struct {
    std::wstring folder;
    bool absolute;
    std::wstring argument;
  } cases[] = {
      {L"C:", true, L"C:\\."},
      {L"q:", true, L"q:\\."},
      {L"C:\\A", true, L"C:\\A"},
      {L"C:\\.", true, L"C:\\."},
      {L"\\\\server\\share", true, L"\\\\server\\share"},
      {L"\\\\server\\share\\sub", true, L"\\\\server\\share\\sub"},
      {L"C:A", false, L"C:A"},
      {L"\\A", false, L"\\A"},
      {L"A", false, L"A"},
      {L"1:", false, L"1:"},
      {L"", false, L""},
      {L"\\\\server", false, L"\\\\server"},
      {L"\\\\\\share", false, L"\\\\\\share"},
      {L"\\\\?\\C:", false, L"\\\\?\\C:"},
      {L"\\\\.\\C:", false, L"\\\\.\\C:"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAbsoluteFolder(c.folder), c.absolute) << ::testing::PrintToString(c.folder);
    EXPECT_EQ(SyncFolderArgument(c.folder), c.argument);
  }
}

TEST(SyncCommand, QuotableFolders) {
  const struct {
    std::wstring folder;
    bool quotable;
  } cases[] = {
      {L"C:", true},
      {L"C:\\A b", true},
      {L"", true},
      {L"C:\\", false},
      {L"\\\\server\\share\\", false},
      {L"C:\\a\"b", false},
      {std::wstring(L"C:\\a\0b", 6), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsQuotableFolder(c.folder), c.quotable) << c.folder.size();
}

TEST(SyncCommand, LogPathLiesInTheTemporaryFolder) {
  EXPECT_EQ(BuildSyncLogPath(L"C:\\Temp\\"), L"C:\\Temp\\robocopy_log.txt");
  EXPECT_EQ(BuildSyncLogPath(L"C:\\Temp"), L"C:\\Temp\\robocopy_log.txt");
  EXPECT_EQ(BuildSyncLogPath(std::wstring(L"C:\\T\\\0stale", 11)), L"C:\\T\\robocopy_log.txt");
  EXPECT_EQ(BuildSyncLogPath(L""), L"\\robocopy_log.txt");
}

TEST(SyncCommand, FoldersOverlapAsFullPathsIgnoringCase) {
  const struct {
    std::wstring a, b;
    bool overlap;
  } cases[] = {
      {L"C:\\Dados", L"C:\\Dados", true},
      {L"C:\\Dados", L"c:\\DADOS\\", true},
      {L"C:\\Dados", L"C:\\Dados\\Sub\\Deep", true},
      {L"C:\\A", L"C:\\AB", false},
      {L"C:\\A", L"C:\\A B", false},
      {L"C:\\A B", L"C:\\A", false},
      {L"C:", L"C:\\Qualquer", true},
      {L"C:\\", L"c:\\x\\y", true},
      {L"C:\\", L"D:\\", false},
      {L"C:", L"CD:\\x", false},
      {L"\\\\server\\share", L"\\\\SERVER\\Share\\x", true},
      {L"\\\\server\\share", L"\\\\server\\share2", false},
      {L"\\\\server\\share\\", L"\\\\server\\share", true},
      {L"C:\\A\\\\B", L"C:\\A\\B\\C", true},
      {L"C:/Dados/Sub", L"C:\\Dados", true},
      {L"\\\\?\\C:\\Dados", L"c:\\dados\\x", true},
      {L"\\\\?\\UNC\\srv\\sh\\p", L"\\\\SRV\\SH", true},
      {L"C:\\A\u00c7\u00c3O", L"c:\\a\u00e7\u00e3o\\x", true},
      {L"C:\\\u0416\u0401", L"C:\\\u0436\u0451", true},
      {L"C:\\\u03a3\u039f\u03a3", L"C:\\\u03c3\u03bf\u03c3", true},
      // The system pairs a capital with one small letter: final sigma is not sigma's.
      {L"C:\\\u03a3\u039f\u03a3", L"C:\\\u03c3\u03bf\u03c2", false},
      {L"C:\\\u0141\u00d3D\u0179", L"C:\\\u0142\u00f3d\u017a", true},
      {L"C:\\stra\u00dfe", L"C:\\STRASSE", false},
      {L"", L"C:\\A", false},
      {L"\\", L"C:\\A", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FoldersOverlap(c.a, c.b), c.overlap) << std::string(c.a.begin(), c.a.end());
    EXPECT_EQ(FoldersOverlap(c.b, c.a), c.overlap) << std::string(c.b.begin(), c.b.end());
  }
}

TEST(SyncCommand, OverlapMessageIsTheOperatorsText) {
  // Spelled here as UTF-8 source text, in the header with an escape: both must give UTF-16.
  EXPECT_EQ(std::wstring(kFoldersOverlapMessage),
            L"As pastas de origem e destino não podem ser a mesma nem uma estar dentro da outra.");
}
