#include "funcoes/pure/ProcessName.h"
#include <gtest/gtest.h>

TEST(ProcessName, FilePartFollowsTheLastBackslashOrColon) {
  const struct {
    std::wstring exeText, expected;
  } cases[] = {
      {L"robocopy.exe", L"robocopy.exe"},
      {L"C:\\Windows\\System32\\robocopy.exe", L"robocopy.exe"},
      {L"C:robocopy.exe", L"robocopy.exe"},
      {L"\\\\?\\C:\\Tools\\robocopy.exe", L"robocopy.exe"},
      {L"a:b\\c.exe", L"c.exe"},
      {L"a\\b:c.exe", L"c.exe"},
      {L"C:\\Tools\\", L""},
      {L"a/b.exe", L"a/b.exe"}, // "/" is no separator here
      {L"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExecutableFilePart(c.exeText), c.expected);
}

TEST(ProcessName, MatchesByFilePartOrWholeTextIgnoringAsciiCase) {
  const struct {
    std::wstring exeText, name;
    bool expected;
  } cases[] = {
      {L"robocopy.exe", L"robocopy.exe", true},
      {L"robocopy.exe", L"ROBOCOPY.EXE", true},
      {L"ROBOCOPY.EXE", L"robocopy.exe", true},
      {L"RoBoCoPy.ExE", L"rObOcOpY.eXe", true},
      {L"C:\\Windows\\System32\\robocopy.exe", L"Robocopy.exe", true},
      {L"C:robocopy.exe", L"robocopy.exe", true},
      // Non-ASCII letters compare unchanged, code unit by code unit.
      {L"robocop\u00e9.exe", L"ROBOCOP\u00c9.EXE", false},
      {L"robocop\u00e9.exe", L"ROBOCOP\u00e9.EXE", true},
      {L"\u017fleeper.exe", L"SLEEPER.EXE", false},
      // A name with a folder matches only the whole text.
      {L"C:\\Tools\\robocopy.exe", L"c:\\tools\\ROBOCOPY.EXE", true},
      {L"C:\\Other\\robocopy.exe", L"C:\\Tools\\robocopy.exe", false},
      {L"robocopy.exe", L"C:\\Tools\\robocopy.exe", false},
      {L"C:\\Tools\\robocopy.exe", L"Tools\\robocopy.exe", false},
      // No partial names.
      {L"robocopy.exe", L"robocopy", false},
      {L"xrobocopy.exe", L"robocopy.exe", false},
      {L"robocopy.exe.bak", L"robocopy.exe", false},
      {L"robocopy.exe", L"", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProcessNameMatches(c.exeText, c.name), c.expected)
        << "entry of " << c.exeText.size() << " units, name of " << c.name.size();
}
