// The one command-line splitter, by the rule of CommandLineToArgvW: checked against documented
// examples everywhere, and against the system's own CommandLineToArgvW under Windows (or Wine).
#include "funcoes/pure/CommandLineArgs.h"
#include "ui/pure/SyncCommand.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using TArgs = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t c : text)
    out += c >= 0x20 && c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

const struct {
  std::wstring line;
  TArgs args;
} kSplitCases[] = {
    {L"p \"abc\" d e", {L"p", L"abc", L"d", L"e"}},
    {L"p a\\\\b d\"e f\"g h", {L"p", L"a\\\\b", L"de fg", L"h"}},
    {L"p a\\\\\\\"b c d", {L"p", L"a\\\"b", L"c", L"d"}},
    {L"p a\\\\\\\\\"b c\" d e", {L"p", L"a\\\\b c", L"d", L"e"}},
    {L"robocopy \"C:\\src\" \"C:\\dst\" /MIR", {L"robocopy", L"C:\\src", L"C:\\dst", L"/MIR"}},
    {L"robocopy \"C:\\Dados ção\" \"D:\" /MIR /XD \"C:\\Dados ção\\$RECYCLE.BIN\" "
     L"/LOG:\"C:\\a b\\l.txt\"",
     {L"robocopy", L"C:\\Dados ção", L"D:", L"/MIR", L"/XD", L"C:\\Dados ção\\$RECYCLE.BIN",
      L"/LOG:C:\\a b\\l.txt"}},
    // The program name ends at its closing quote (or the first blank); no escapes there.
    {L"\"C:\\Program Files\\t.exe\" /LOG:\"C:\\a b\\l.txt\"",
     {L"C:\\Program Files\\t.exe", L"/LOG:C:\\a b\\l.txt"}},
    {L"\"C:\\Dir\\\" x", {L"C:\\Dir\\", L"x"}},
    {L"\"C:\\a b\\x.exe\"rest y", {L"C:\\a b\\x.exe", L"rest", L"y"}},
    {L"  x y", {L"", L"x", L"y"}},
    // Backslashes are literal unless a quote follows them: 2n+1 give n and a literal quote, 2n
    // give n and the quote opens or closes quoting.
    {L"x a\\\\b \\\\server\\share", {L"x", L"a\\\\b", L"\\\\server\\share"}},
    {L"x a\\\\\\\"b \\\\srv\\s", {L"x", L"a\\\"b", L"\\\\srv\\s"}},
    {L"x \"a\\\\\" b", {L"x", L"a\\", L"b"}},
    {L"x \"C:\\\" b", {L"x", L"C:\" b"}}, // the classic trap of a quoted root
    // Consecutive quotes: "" inside quotes is a literal quote that ends quoting.
    {L"p a\"b\"\" c d", {L"p", L"ab\"", L"c", L"d"}},
    {L"x \"a\"\"b c\"", {L"x", L"a\"b", L"c"}},
    {L"x \"a\"\"b\" c", {L"x", L"a\"b c"}},
    {L"x \"\"\"\" y", {L"x", L"\" y"}},
    {L"x a\"\"b", {L"x", L"ab"}},
    {L"x \"\"\"a\"\"\"", {L"x", L"\"a\""}},
    {L"p \"\" \"\"", {L"p", L"", L""}},
    {L"x \"\"", {L"x", L""}},
    // An escaped quote, then quotes around the rest: the escape does not count as a quote.
    {L"x a\\\"\"b\"", {L"x", L"a\"b"}},
    {L"x \"a b", {L"x", L"a b"}},
    {L"p \t x\ty  ", {L"p", L"x", L"y"}},
    {L"x\t\"😀\"\t", {L"x", L"😀"}},
    {L"x \"C:\\Dados ção\\😀\"", {L"x", L"C:\\Dados ção\\😀"}},
    // The line ends at its first NUL; an empty line is an empty program name.
    {std::wstring(L"p a\0b", 5), {L"p", L"a"}},
    {L"", {L""}},
};

} // namespace

TEST(CommandLineArgs, SplitsLikeCommandLineToArgvW) {
  for (const auto& c : kSplitCases)
    EXPECT_EQ(SplitCommandLineArgs(c.line), c.args) << Narrow(c.line);
}

#ifdef _WIN32
// Under Windows (or Wine) the splitter is checked against the system's own, "" cases included.
TEST(CommandLineArgs, AgreesWithCommandLineToArgvW) {
  using TCommandLineToArgvW = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  ASSERT_NE(shell, nullptr);
  const auto toArgv = reinterpret_cast<TCommandLineToArgvW>(
      reinterpret_cast<void*>(GetProcAddress(shell, "CommandLineToArgvW")));
  ASSERT_NE(toArgv, nullptr);
  const std::wstring log = L"C:\\Users\\Op\\AppData\\Local\\Temp\\robocopy_log.txt";
  std::vector<std::wstring> lines;
  // The system cannot see past a NUL, and gives its own program's path for an empty line.
  for (const auto& c : kSplitCases)
    if (!c.line.empty() && c.line.find(L'\0') == std::wstring::npos) lines.push_back(c.line);
  lines.push_back(BuildSyncCommand(L"C:", L"\\\\server\\share", log));
  lines.push_back(BuildSyncCommand(L"C:\\A", L"\\\\server\\share\\", log));
  lines.push_back(
      BuildSyncProcessCommandLine(L"C:\\Windows\\System32\\robocopy.exe",
                                  BuildSyncArguments(L"C:\\Pasta com espa\u00e7os", L"D:", log)));
  for (const std::wstring& line : lines) {
    int count = 0;
    LPWSTR* argv = toArgv(line.c_str(), &count);
    ASSERT_NE(argv, nullptr);
    const TArgs system(argv, argv + count);
    LocalFree(argv);
    EXPECT_EQ(SplitCommandLineArgs(line), system) << Narrow(line);
  }
  FreeLibrary(shell);
}
#endif
