// Every end-to-end test starts the real program, which ends every robocopy.exe and creates
// C:\TMP, and most of them rewrite the stored folders: all of them need the test prefix.
#include "tests/TestPrefix.h"

namespace {
// GoogleTest takes ownership of the environment.
::testing::Environment* const gTestPrefixGuard =
    ::testing::AddGlobalTestEnvironment(new testprefix::TRequireTestPrefix);
} // namespace
