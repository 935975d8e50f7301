#pragma once
// Tests that delete the tool's registry key, remove C:\TMP, change the stored folders, end
// every robocopy.exe or change the session's colours run only inside the project's private Wine
// test prefix, which the test rig marks with a file in the Windows folder (scripts/wine-env.sh).
// On a developer's own Windows account the marker is missing and they refuse to run, so nothing
// of the user's is touched.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

namespace testprefix {

inline constexpr wchar_t kMarkerName[] = L"replimar-test-prefix.txt";

inline bool InsideTestPrefix() {
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::wstring marker = std::wstring(windows) + L"\\" + kMarkerName;
  const DWORD attributes = GetFileAttributesW(marker.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline constexpr char kRefusal[] =
    "refused: this test changes the tool's settings, C:\\TMP, robocopy.exe processes or the "
    "system's colours, and runs only inside the project's Wine test prefix (see README, \"Tests "
    "on Windows\")";

// For a whole test program whose every test touches such things: a failure here skips them all.
class TRequireTestPrefix : public ::testing::Environment {
public:
  void SetUp() override {
    if (!InsideTestPrefix()) GTEST_FAIL() << kRefusal;
  }
};

} // namespace testprefix

// At the start of a fixture's SetUp (or a test) that touches such things.
#define REPLIMAR_REQUIRE_TEST_PREFIX()                                                             \
  do {                                                                                             \
    if (!testprefix::InsideTestPrefix()) GTEST_FAIL() << testprefix::kRefusal;                     \
  } while (0)
