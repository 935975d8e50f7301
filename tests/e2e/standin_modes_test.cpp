// Runs against the stand-in in each of its modes, as the real tool behaves on an operator's PC:
// a log held for the tool's whole life (with and without delete sharing) or reopened, in
// UTF-16LE with and without a mark or in OEM 850 Portuguese text; the gauge and the last line
// follow, a log past the size limit is truncated or its failure told once, "Interromper" ends
// the following; and a tool that ends is reported once per run.
#include "funcoes/SystemText.h"
#include "tests/e2e/FaultSupport.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace e2e;

const std::wstring kCannotTruncate = L"N\u00e3o foi poss\u00edvel truncar o log: ";
constexpr size_t kLimit = 5242880;

// Sets an environment variable for the test's duration (an empty value leaves it as it is);
// the program and the tool inherit it.
class TScopedVariable {
public:
  TScopedVariable(std::wstring name, const std::wstring& value) : FName(std::move(name)) {
    if (value.empty()) return;
    wchar_t old[256];
    const DWORD length = GetEnvironmentVariableW(FName.c_str(), old, 256);
    if (length > 0 && length < 256) FOld = std::wstring(old, length);
    FSet = true;
    SetEnvironmentVariableW(FName.c_str(), value.c_str());
  }
  ~TScopedVariable() {
    if (FSet) SetEnvironmentVariableW(FName.c_str(), FOld.empty() ? nullptr : FOld.c_str());
  }
  TScopedVariable(const TScopedVariable&) = delete;
  TScopedVariable& operator=(const TScopedVariable&) = delete;

private:
  std::wstring FName, FOld;
  bool FSet = false;
};

enum class TTruncation { FailsOnce, Deletes, DeletesAndLogComesBack };

struct TModeCase {
  const char* Name;
  const wchar_t* Hold;
  const wchar_t* Encoding;
  bool NeedsOem850;     // the program must run with OEM code page 850 (a Portuguese PC)
  std::wstring Monitor; // the log's last line while the tool waits, as the pane shows it
  TTruncation Truncation;
};

const std::wstring kMonitorEnglish = L"Monitor : Waiting for 2 minutes and 1 changes...";
const std::wstring kMonitorPortuguese =
    L"Monitor : Aguardando 2 minutos e 1 altera\u00e7\u00f5es...";

// Text in the log's own form, as the test appends it beside the tool.
std::string InLogForm(const std::wstring& encoding, const std::string& ascii) {
  if (encoding == L"oem850") return ascii;
  std::string bytes;
  for (char c : ascii) {
    bytes.push_back(c);
    bytes.push_back('\0');
  }
  return bytes;
}

// The text of a log the test reads back, for what it holds, not for display.
std::wstring DecodeForTest(const std::wstring& encoding, const std::string& bytes) {
  if (encoding == L"oem850") {
    std::wstring text(bytes.size(), L'\0');
    const int n = MultiByteToWideChar(850, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
  }
  const size_t skip = bytes.compare(0, 2, "\xFF\xFE") == 0 ? 2 : 0;
  std::wstring text;
  for (size_t i = skip; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<wchar_t>(static_cast<uint8_t>(bytes[i]) |
                                        (static_cast<uint8_t>(bytes[i + 1]) << 8)));
  return text;
}

class StandinModes : public TMirrorTest, public ::testing::WithParamInterface<TModeCase> {};

TEST_P(StandinModes, GaugeLastLineTruncationAndStop) {
  const TModeCase& mode = GetParam();
  TScopedVariable hold(L"REPLIMAR_STANDIN_LOG_HANDLE", mode.Hold);
  TScopedVariable encoding(L"REPLIMAR_STANDIN_LOG_ENCODING", mode.Encoding);
  // Wine takes the code pages from the Unix locale at the start of the test program, and the
  // program and the tool inherit it: ctest runs this case again as replimar_e2e_tests_pt_BR
  // with LANG=pt_BR.UTF-8.
  if (mode.NeedsOem850 && GetOEMCP() != 850)
    GTEST_SKIP() << "OEM code page " << GetOEMCP() << ", not 850: run with LANG=pt_BR.UTF-8";
  WriteFile(FSource + L"\\um.txt", "primeiro");
  WriteFile(FSource + L"\\vazio.txt", "");
  WriteFile(FSource + L"\\grande.bin", std::string(300000, 'g'));
  ASSERT_TRUE(CreateDirectoryW((FSource + L"\\sub").c_str(), nullptr));
  WriteFile(FSource + L"\\sub\\dois.txt", "segundo");
  StartProgram();
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));

  ASSERT_TRUE(
      WaitFor([&] { return ReadFileBytes(FDestination + L"\\grande.bin").size() == 300000; },
              kStartTimeout))
      << "the tool did not mirror";
  EXPECT_TRUE(
      WaitFor([&] { return LastPaneLine(*FApp) == mode.Monitor && FApp->GaugeText() == L"100%"; },
              kActionTimeout))
      << "pane: " << Utf8(LastPaneLine(*FApp)) << " gauge: " << Utf8(FApp->GaugeText());

  // The log is in the mode's form, with several progress pieces for the large file and one for
  // the empty file, each begun by CR on the file's own line; each file counts once.
  const std::string bytes = ReadFileBytes(LogPath());
  const std::wstring text = DecodeForTest(mode.Encoding, bytes);
  EXPECT_EQ(bytes.compare(0, 2, "\xFF\xFE") == 0, std::wstring(mode.Encoding) == L"utf16-bom");
  EXPECT_NE(text.find(L"grande.bin\r  0%  \r"), std::wstring::npos);
  EXPECT_NE(text.find(L"\r 50%  \r"), std::wstring::npos) << "no middle piece for a large file";
  EXPECT_NE(text.find(L"vazio.txt\r100%  \r\n"), std::wstring::npos)
      << "the empty file's one piece";
  EXPECT_NE(text.find(mode.Monitor + L"\r\n"), std::wstring::npos) << Utf8(text);

  // The log grows past the limit while the tool holds it (the test appends as a long run's
  // log would have grown).
  {
    UniqueFileHandle log(CreateFileW(LogPath().c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(log.Valid()) << GetLastError();
    const std::string line = InLogForm(mode.Encoding, std::string(98, '.') + "\r\n");
    std::string block;
    while (block.size() < (1 << 20))
      block += line;
    for (size_t written = 0; written <= kLimit; written += block.size()) {
      DWORD done = 0;
      ASSERT_TRUE(
          ::WriteFile(log.Get(), block.data(), static_cast<DWORD>(block.size()), &done, nullptr));
    }
    const std::string last = InLogForm(mode.Encoding, "fim do enchimento\r\n");
    DWORD done = 0;
    ASSERT_TRUE(
        ::WriteFile(log.Get(), last.data(), static_cast<DWORD>(last.size()), &done, nullptr));
  }
  const std::wstring message =
      mode.Truncation == TTruncation::FailsOnce ? kCannotTruncate : kTruncated;
  const auto messages = [&] {
    int n = 0;
    for (const std::wstring& line : PaneLines(FApp->LogText()))
      if (line.rfind(message, 0) == 0) ++n;
    return n;
  };
  ASSERT_TRUE(WaitFor([&] { return messages() == 1; }, kActionTimeout)) << Utf8(FApp->LogText());
  if (mode.Truncation == TTruncation::FailsOnce) {
    const std::vector<std::wstring> lines = PaneLines(FApp->LogText());
    const auto at = std::find_if(lines.begin(), lines.end(), [&](const std::wstring& line) {
      return line.rfind(kCannotTruncate, 0) == 0;
    });
    ASSERT_NE(at, lines.end());
    // The system's own words follow (the program runs in this test's locale).
    EXPECT_EQ(*at, kCannotTruncate + SysErrorMessage(ERROR_SHARING_VIOLATION));
  }

  // The run goes on: a new file is mirrored, and the passes after it neither repeat the
  // message nor fail.
  WriteFile(FSource + L"\\depois.txt", "depois");
  ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(FDestination + L"\\depois.txt") == "depois"; },
                      kStartTimeout));
  switch (mode.Truncation) {
  case TTruncation::FailsOnce:
    // The log was kept and grows on; the follow reads what is appended and shows it below the
    // message.
    EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == mode.Monitor; }, kActionTimeout))
        << Utf8(FApp->LogText());
    EXPECT_GT(ReadFileBytes(LogPath()).size(), kLimit);
    break;
  case TTruncation::Deletes:
    // The tool writes on into the deleted log: the run sees no log.
    EXPECT_FALSE(
        WaitFor([&] { return LastPaneLine(*FApp) != kTruncated; }, std::chrono::seconds(2)))
        << Utf8(FApp->LogText());
    break;
  case TTruncation::DeletesAndLogComesBack:
    EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == mode.Monitor; }, kActionTimeout))
        << Utf8(FApp->LogText());
    break;
  }
  EXPECT_EQ(messages(), 1) << Utf8(FApp->LogText());
  EXPECT_EQ(FApp->FindTopLevel(kMessageCaption, kMessageClass), nullptr)
      << FApp->DescribeTopLevelWindows();

  ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
  EXPECT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, std::chrono::seconds(3)));
  EXPECT_EQ(CountProcesses(L"robocopy.exe"), 1) << "the tool keeps mirroring after a stop";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StandinModes,
    ::testing::Values(TModeCase{"HeldUtf16WithMark", L"held", L"utf16-bom", false, kMonitorEnglish,
                                TTruncation::FailsOnce},
                      TModeCase{"HeldUtf16WithoutMark", L"held", L"utf16", false, kMonitorEnglish,
                                TTruncation::FailsOnce},
                      TModeCase{"HeldOem850Portuguese", L"held", L"oem850", true,
                                kMonitorPortuguese, TTruncation::FailsOnce},
                      TModeCase{"HeldWithDeleteSharing", L"held-delete", L"utf16-bom", false,
                                kMonitorEnglish, TTruncation::Deletes},
                      TModeCase{"Reopened", L"reopen", L"utf16-bom", false, kMonitorEnglish,
                                TTruncation::DeletesAndLogComesBack}),
    [](const ::testing::TestParamInfo<TModeCase>& info) { return std::string(info.param.Name); });

// The tool ends on its own (a full or unplugged drive, a fatal error): each run says so once,
// with the tool's exit code, and follows on until stopped.
class ToolEnd : public TMirrorTest {};

TEST_F(ToolEnd, IsReportedOncePerRunWithItsExitCode) {
  TScopedVariable exit(L"REPLIMAR_STANDIN_EXIT", L"8@2500");
  const std::wstring ended = L"O robocopy terminou (c\u00f3digo 8).";
  WriteFile(FSource + L"\\a.txt", "a");
  StartProgram();
  for (int run = 1; run <= 2; ++run) {
    ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
    ASSERT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kStarting) == run; },
                        kActionTimeout));
    ASSERT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), ended) == run; },
                        kActionTimeout))
        << Utf8(FApp->LogText());
    EXPECT_EQ(CountProcesses(L"robocopy.exe"), 0);
    // Further passes do not repeat it; the run goes on until "Interromper".
    EXPECT_FALSE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), ended) > run; },
                         std::chrono::seconds(2)));
    EXPECT_NE(LastPaneLine(*FApp), kEnded);
    ASSERT_TRUE(FApp->Click(FApp->Button(kStop)));
    ASSERT_TRUE(WaitFor([&] { return LastPaneLine(*FApp) == kEnded; }, std::chrono::seconds(3)));
  }
  // The pane keeps the message in view: the log's last line came below it, not over it.
  const std::vector<std::wstring> lines = PaneLines(FApp->LogText());
  const auto at = std::find(lines.begin(), lines.end(), ended);
  ASSERT_NE(at, lines.end());
  EXPECT_NE(at + 1, lines.end());
}

} // namespace
