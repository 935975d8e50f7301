// The stand-in of the mirroring tool, started as the program starts it: the exact mirror command,
// in temporary folders with names beyond the ANSI code page. It mirrors, logs, monitors and
// never ends by itself.
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDeadlineMs = 30000;

std::wstring Extended(const std::wstring& path) {
  return L"\\\\?\\" + path;
}

// Polls a condition until it holds or the deadline passes.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = kDeadlineMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

void MakeFolders(const std::wstring& path) {
  for (size_t cut = path.find(L'\\', 3);; cut = path.find(L'\\', cut + 1)) {
    const std::wstring part = cut == std::wstring::npos ? path : path.substr(0, cut);
    if (!CreateDirectoryW(Extended(part).c_str(), nullptr)) {
      ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << ToUtf8(part);
    }
    if (cut == std::wstring::npos) break;
  }
}

void WriteBytes(const std::wstring& path, const std::string& bytes,
                DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  UniqueFileHandle file(CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, attributes, nullptr));
  ASSERT_TRUE(file.Valid()) << ToUtf8(path) << ": " << ToUtf8(SysErrorMessage(GetLastError()));
  DWORD written = 0;
  ASSERT_TRUE(
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

void SetWriteTime(const std::wstring& path, uint64_t ticks) {
  UniqueFileHandle file(CreateFileW(Extended(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  ASSERT_TRUE(file.Valid()) << ToUtf8(path);
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &time));
}

// Reads a file as the program reads the log: sharing read and write.
std::optional<std::string> ReadShared(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(Extended(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(Extended(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data{};
  UniqueFind find(FindFirstFileW(Extended(folder + L"\\*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(Extended(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(Extended(path).c_str());
    } while (FindNextFileW(find.Get(), &data));
  }
  RemoveDirectoryW(Extended(folder).c_str());
}

// Lines split at CR LF only, so that a file's line keeps its progress pieces.
std::vector<std::wstring> SplitCrLf(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

size_t CountOf(const std::wstring& text, const std::wstring& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

struct TLog {
  bool Bom = false;
  std::wstring Text; // after the mark
};

std::optional<TLog> DecodeUtf16(const std::optional<std::string>& bytes) {
  if (!bytes) return std::nullopt;
  TLog log;
  size_t at = 0;
  if (bytes->size() >= 2 && (*bytes)[0] == '\xFF' && (*bytes)[1] == '\xFE') {
    log.Bom = true;
    at = 2;
  }
  log.Text.resize((bytes->size() - at) / 2);
  for (size_t i = 0; i < log.Text.size(); ++i)
    log.Text[i] = static_cast<wchar_t>(static_cast<unsigned char>((*bytes)[at + 2 * i]) |
                                       static_cast<unsigned char>((*bytes)[at + 2 * i + 1]) << 8);
  return log;
}

// The file names of the copies in a log, from each line with progress pieces: the file's line,
// then "\r  0%  " ... "\r100%  " (an empty file: "\r100%  " alone), then CR LF.
std::vector<std::wstring> CopiedNames(const std::wstring& text) {
  std::vector<std::wstring> names;
  for (const std::wstring& line : SplitCrLf(text)) {
    const size_t pieces = line.find(L'\r');
    if (line.find(L'%') == std::wstring::npos) continue;
    EXPECT_NE(pieces, std::wstring::npos) << ToUtf8(line);
    if (pieces == std::wstring::npos) continue;
    const std::wstring progress = line.substr(pieces);
    EXPECT_TRUE(progress == L"\r100%  " ||
                (progress.rfind(L"\r  0%  ", 0) == 0 && progress.size() >= 16 &&
                 progress.substr(progress.size() - 7) == L"\r100%  "))
        << ToUtf8(line);
    const std::wstring head = line.substr(0, pieces);
    names.push_back(head.substr(head.rfind(L'\t') + 1));
  }
  return names;
}

size_t PercentLines(const std::wstring& text) {
  size_t count = 0;
  for (const std::wstring& line : SplitCrLf(text))
    if (line.find(L'%') != std::wstring::npos) ++count;
  return count;
}

const wchar_t kWaiting[] = L"Monitor : Waiting for 2 minutes and 1 changes...";

class StandinMirror : public testing::Test {
protected:
  void SetUp() override {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    FRoot = std::wstring(temp) + L"replimar standin " + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(++counter) + L" ção 😀";
    FSource = FRoot + L"\\Origem ü 日本";
    FDestination = FRoot + L"\\Destino é";
    FLogPath = FRoot + L"\\robocopy_log.txt";
    FConsolePath = FRoot + L"\\console.txt";
    MakeFolders(FSource);
  }

  void TearDown() override {
    if (FProcess) {
      EXPECT_EQ(WaitForSingleObject(FProcess.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
          << "the stand-in ended by itself";
      TerminateProcess(FProcess.Get(), 1);
      WaitForSingleObject(FProcess.Get(), kDeadlineMs);
    }
    // Handles of ended children may close a moment after their process has ended.
    EXPECT_TRUE(WaitUntil([&] {
      RemoveTree(FRoot);
      return !Exists(FRoot);
    })) << "could not remove "
        << ToUtf8(FRoot);
  }

  std::wstring MirrorCommand() const {
    return L"robocopy \"" + FSource + L"\" \"" + FDestination +
           L"\" /MIR /R:0 /W:0 /TEE /ETA /XA:SH /XD \"" + FSource + L"\\$RECYCLE.BIN\" \"" +
           FSource + L"\\System Volume Information\" /LOG:\"" + FLogPath +
           L"\" /UNICODE /MOT:2 /MON:1";
  }

  // Starts the stand-in with the given command line; its console goes to a file, and a
  // "minute" of /MOT lasts 200 ms.
  UniqueHandle Start(std::wstring commandLine) {
    std::wstring environment;
    for (const wchar_t* entry = FEnvironment.get(); *entry; entry += wcslen(entry) + 1)
      if (_wcsnicmp(entry, L"REPLIMAR_STANDIN_MINUTE_MS=", 27) != 0)
        environment += std::wstring(entry) + L'\0';
    environment += std::wstring(L"REPLIMAR_STANDIN_MINUTE_MS=200") + L'\0';
    for (const std::wstring& mode : FModes)
      environment += mode + L'\0';
    environment += L'\0';

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFileHandle console(CreateFileW(Extended(FConsolePath).c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         &inherit, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(console.Valid());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = console.Get();
    startup.hStdError = console.Get();
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(REPLIMAR_STANDIN_PATH, commandLine.data(), nullptr, nullptr,
                                        TRUE, CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                                        environment.data(), nullptr, &startup, &info);
    EXPECT_TRUE(started) << ToUtf8(SysErrorMessage(GetLastError()));
    if (!started) return UniqueHandle();
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
  }

  void StartMirror() {
    FProcess = Start(MirrorCommand());
    ASSERT_TRUE(FProcess.Valid());
  }

  std::optional<TLog> Log() const { return DecodeUtf16(ReadShared(FLogPath)); }

  // Waits until the log shows the given number of finished passes.
  void WaitForPasses(size_t passes) {
    const bool done = WaitUntil([&] {
      const auto log = Log();
      return log && CountOf(log->Text, kWaiting) >= passes;
    });
    ASSERT_TRUE(done) << "no monitor line after pass " << passes;
  }

  std::wstring Src(const std::wstring& relative) const { return FSource + L"\\" + relative; }
  std::wstring Dst(const std::wstring& relative) const { return FDestination + L"\\" + relative; }

  std::wstring FRoot, FSource, FDestination, FLogPath, FConsolePath;
  std::vector<std::wstring> FModes; // "NAME=value" of the stand-in's modes
  UniqueHandle FProcess;
  struct TFreeEnvironment {
    void operator()(wchar_t* block) const { FreeEnvironmentStringsW(block); }
  };
  std::unique_ptr<wchar_t, TFreeEnvironment> FEnvironment{GetEnvironmentStringsW()};
};

TEST_F(StandinMirror, FirstPassMirrorsTheTreeAndLeavesOutHiddenAndExcluded) {
  constexpr uint64_t kSameTime = 133000000000000000ull;
  // A chain of folders past the old 260-character limit.
  std::wstring deep = L"longo";
  for (int i = 0; i < 12; ++i)
    deep += L"\\pasta-com-nome-comprido-" + std::to_wstring(i);
  ASSERT_GT(Src(deep).size(), 300u);
  for (const wchar_t* folder :
       {L"sub\\mais fundo", L"vazio", L"$RECYCLE.BIN", L"System Volume Information", deep.c_str()})
    MakeFolders(Src(folder));
  WriteBytes(Src(L"a.txt"), "alpha");
  WriteBytes(Src(L"sub\\b.txt"), "beta");
  WriteBytes(Src(L"sub\\mais fundo\\ção 😀.txt"), "gama");
  WriteBytes(Src(deep + L"\\fundo.txt"), "delta");
  WriteBytes(Src(L"mudou.txt"), "new content");
  WriteBytes(Src(L"igual.txt"), "same");
  WriteBytes(Src(L"oculto.txt"), "hidden", FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(Src(L"sistema.txt"), "system", FILE_ATTRIBUTE_SYSTEM);
  WriteBytes(Src(L"$RECYCLE.BIN\\lixo.txt"), "recycled");
  WriteBytes(Src(L"System Volume Information\\vol.txt"), "volume");
  SetWriteTime(Src(L"igual.txt"), kSameTime);

  MakeFolders(Dst(L"sobra\\dentro"));
  WriteBytes(Dst(L"sobra\\dentro\\x.txt"), "extra");
  WriteBytes(Dst(L"sobra.txt"), "extra");
  WriteBytes(Dst(L"sobra oculta.txt"), "extra", FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(Dst(L"mudou.txt"), "old");
  WriteBytes(Dst(L"igual.txt"), "same");
  SetWriteTime(Dst(L"igual.txt"), kSameTime);
  WriteBytes(Dst(L"oculto.txt"), "destination's own"); // counterpart of a skipped file

  StartMirror();
  WaitForPasses(1);

  const struct {
    std::wstring path;
    std::string content;
  } arrived[] = {{L"a.txt", "alpha"},
                 {L"sub\\b.txt", "beta"},
                 {L"sub\\mais fundo\\ção 😀.txt", "gama"},
                 {deep + L"\\fundo.txt", "delta"},
                 {L"mudou.txt", "new content"},
                 {L"igual.txt", "same"},
                 {L"oculto.txt", "destination's own"}};
  for (const auto& file : arrived)
    EXPECT_EQ(ReadShared(Dst(file.path)).value_or("<missing>"), file.content) << ToUtf8(file.path);
  EXPECT_TRUE(IsFolder(Dst(L"vazio")));
  for (const wchar_t* absent : {L"sistema.txt", L"$RECYCLE.BIN", L"System Volume Information",
                                L"sobra.txt", L"sobra", L"sobra oculta.txt"})
    EXPECT_FALSE(Exists(Dst(absent))) << ToUtf8(absent);

  // Read while the stand-in holds it open for writing, as the program reads it.
  const auto log = Log();
  ASSERT_TRUE(log.has_value()) << "log not readable with read and write sharing";
  EXPECT_TRUE(log->Bom);
  std::vector<std::wstring> copied = CopiedNames(log->Text);
  std::sort(copied.begin(), copied.end());
  EXPECT_EQ(copied, (std::vector<std::wstring>{L"a.txt", L"b.txt", L"fundo.txt", L"mudou.txt",
                                               L"ção 😀.txt"}));
  EXPECT_EQ(PercentLines(log->Text), 5u);
  EXPECT_NE(log->Text.find(L"   Source : " + FSource + L"\\\r\n"), std::wstring::npos);
  EXPECT_NE(log->Text.find(L"     Dest : " + FDestination + L"\\\r\n"), std::wstring::npos);
  EXPECT_NE(log->Text.find(L"\t  *EXTRA File \t\t         5\tsobra.txt\r\n"), std::wstring::npos);
  EXPECT_NE(log->Text.find(L"\t  New Dir          0\t" + Src(L"vazio") + L"\\\r\n"),
            std::wstring::npos);
  EXPECT_EQ(log->Text.find(L"igual.txt"), std::wstring::npos) << "an unchanged file was copied";
  EXPECT_NE(log->Text.find(L"   Files :         6         5         1"), std::wstring::npos);
  EXPECT_TRUE(log->Text.ends_with(std::wstring(kWaiting) + L"\r\n"));

  // /TEE: the same text on the console, as UTF-16 since /UNICODE.
  const auto console = DecodeUtf16(ReadShared(FConsolePath));
  ASSERT_TRUE(console.has_value());
  EXPECT_FALSE(console->Bom);
  EXPECT_EQ(console->Text, log->Text);
}

TEST_F(StandinMirror, ChangesAfterAPassAreMirroredByTheNextOne) {
  WriteBytes(Src(L"a.txt"), "alpha");
  WriteBytes(Src(L"b.txt"), "beta");
  WriteBytes(Src(L"fica.txt"), "stays");
  StartMirror();
  WaitForPasses(1);
  ASSERT_EQ(ReadShared(Dst(L"a.txt")).value_or(""), "alpha");

  WriteBytes(Src(L"a.txt"), "alpha, longer");
  MakeFolders(Src(L"nova pasta"));
  WriteBytes(Src(L"nova pasta\\n.txt"), "new");
  ASSERT_TRUE(DeleteFileW(Extended(Src(L"b.txt")).c_str()));

  // A stalled test could see the changes split over two passes: wait for the mirrored state
  // and a finished pass together.
  const bool mirrored = WaitUntil([&] {
    const auto log = Log();
    return ReadShared(Dst(L"a.txt")).value_or("") == "alpha, longer" &&
           ReadShared(Dst(L"nova pasta\\n.txt")).value_or("") == "new" && !Exists(Dst(L"b.txt")) &&
           log && log->Text.ends_with(std::wstring(kWaiting) + L"\r\n") &&
           CountOf(log->Text, kWaiting) >= 2;
  });
  ASSERT_TRUE(mirrored) << "the changes were not mirrored";
  EXPECT_EQ(ReadShared(Dst(L"fica.txt")).value_or(""), "stays");

  const auto log = Log();
  ASSERT_TRUE(log.has_value());
  const std::wstring second = log->Text.substr(log->Text.find(kWaiting));
  EXPECT_EQ(CopiedNames(second), (std::vector<std::wstring>{L"a.txt", L"n.txt"}))
      << "later passes copy only what changed";
  EXPECT_NE(second.find(L"\tb.txt\r\n"), std::wstring::npos);
  EXPECT_NE(second.find(L"*EXTRA File"), std::wstring::npos);
  EXPECT_EQ(CountOf(log->Text, L"  Started : "), CountOf(log->Text, kWaiting));
  EXPECT_EQ(PercentLines(log->Text), 5u);
}

TEST_F(StandinMirror, ALogDeletedWhileItRunsIsBegunAfreshWhenReopened) {
  FModes = {L"REPLIMAR_STANDIN_LOG_HANDLE=reopen"};
  WriteBytes(Src(L"a.txt"), "alpha");
  StartMirror();
  WaitForPasses(1);

  // As the program does when the log grew too large.
  ASSERT_TRUE(DeleteFileW(FLogPath.c_str())) << ToUtf8(SysErrorMessage(GetLastError()));
  const bool fresh = WaitUntil([&] {
    const auto log = Log();
    return log && log->Text.find(L"Started") == std::wstring::npos &&
           log->Text.find(kWaiting) != std::wstring::npos;
  });
  ASSERT_TRUE(fresh) << "no fresh log after the deletion";
  const auto restarted = Log();
  ASSERT_TRUE(restarted.has_value());
  EXPECT_TRUE(restarted->Bom);
  EXPECT_EQ(restarted->Text, std::wstring(kWaiting) + L"\r\n");

  WriteBytes(Src(L"b.txt"), "beta");
  WaitForPasses(2);
  const auto log = Log();
  ASSERT_TRUE(log.has_value());
  EXPECT_TRUE(log->Bom);
  EXPECT_EQ(CopiedNames(log->Text), (std::vector<std::wstring>{L"b.txt"}));
  EXPECT_EQ(ReadShared(Dst(L"b.txt")).value_or(""), "beta");
}

TEST_F(StandinMirror, ByDefaultTheLogIsHeldWithoutDeleteSharing) {
  WriteBytes(Src(L"a.txt"), "alpha");
  StartMirror();
  WaitForPasses(1);
  EXPECT_FALSE(DeleteFileW(FLogPath.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // The same log grows on with the next pass.
  WriteBytes(Src(L"b.txt"), "beta");
  WaitForPasses(2);
  const auto log = Log();
  ASSERT_TRUE(log.has_value());
  EXPECT_TRUE(log->Bom);
  EXPECT_EQ(CopiedNames(log->Text), (std::vector<std::wstring>{L"a.txt", L"b.txt"}));
}

TEST_F(StandinMirror, HeldWithDeleteSharingTheDeletedLogIsNotMadeAgain) {
  FModes = {L"REPLIMAR_STANDIN_LOG_HANDLE=held-delete"};
  WriteBytes(Src(L"a.txt"), "alpha");
  StartMirror();
  WaitForPasses(1);
  ASSERT_TRUE(DeleteFileW(FLogPath.c_str())) << ToUtf8(SysErrorMessage(GetLastError()));
  WriteBytes(Src(L"b.txt"), "beta");
  ASSERT_TRUE(WaitUntil([&] { return ReadShared(Dst(L"b.txt")).value_or("") == "beta"; }));
  // The stand-in wrote its second pass into the deleted log: no log with a fresh start exists
  // (the name may linger while the deletion is pending, with the old log's start).
  const auto log = Log();
  if (log) {
    EXPECT_NE(log->Text.find(L"a.txt"), std::wstring::npos);
  }
  TerminateProcess(FProcess.Get(), 1);
  WaitForSingleObject(FProcess.Get(), kDeadlineMs);
  FProcess.Reset();
  EXPECT_TRUE(WaitUntil([&] { return !Exists(FLogPath); })) << "the deletion did not complete";
}

TEST_F(StandinMirror, Utf16WithoutAMark) {
  FModes = {L"REPLIMAR_STANDIN_LOG_ENCODING=utf16"};
  WriteBytes(Src(L"a.txt"), "alpha");
  StartMirror();
  WaitForPasses(1);
  const auto log = Log();
  ASSERT_TRUE(log.has_value());
  EXPECT_FALSE(log->Bom);
  EXPECT_EQ(log->Text.substr(0, 2), L"\r\n");
  EXPECT_EQ(CopiedNames(log->Text), (std::vector<std::wstring>{L"a.txt"}));
}

TEST_F(StandinMirror, Oem850WithPortugueseTexts) {
  FModes = {L"REPLIMAR_STANDIN_LOG_ENCODING=oem850"};
  WriteBytes(Src(L"a.txt"), "alpha");
  StartMirror();
  const std::wstring waiting = L"Monitor : Aguardando 2 minutos e 1 altera\u00e7\u00f5es...\r\n";
  char oem[128] = {};
  const int length = WideCharToMultiByte(850, 0, waiting.c_str(), static_cast<int>(waiting.size()),
                                         oem, sizeof oem, nullptr, nullptr);
  ASSERT_GT(length, 0);
  const std::string expected(oem, static_cast<size_t>(length));
  EXPECT_NE(expected.find("\x87\xE4"), std::string::npos) << "\u00e7\u00f5 in code page 850";
  ASSERT_TRUE(WaitUntil([&] {
    return ReadShared(FLogPath).value_or("").find(expected) != std::string::npos;
  })) << ReadShared(FLogPath).value_or("");
  const std::string bytes = ReadShared(FLogPath).value_or("");
  EXPECT_EQ(bytes.find('\0'), std::string::npos) << "8-bit text has no NUL";
  EXPECT_NE(bytes.find("Origem : "), std::string::npos);
}

TEST_F(StandinMirror, EndsWithTheChosenCodeAfterTheChosenTime) {
  FModes = {L"REPLIMAR_STANDIN_EXIT=8@1500"};
  WriteBytes(Src(L"a.txt"), "alpha");
  const ULONGLONG started = GetTickCount64();
  StartMirror();
  WaitForPasses(1);
  ASSERT_EQ(WaitForSingleObject(FProcess.Get(), kDeadlineMs), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_GE(GetTickCount64() - started, 1500u);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(FProcess.Get(), &code));
  EXPECT_EQ(code, 8u);
  FProcess.Reset();
}

TEST_F(StandinMirror, BadArgumentsEndWith16AndTouchNothing) {
  const std::wstring quotedSource = L"\"" + FSource + L"\"";
  const std::wstring quotedDestination = L"\"" + FDestination + L"\"";
  const std::wstring lines[] = {
      L"robocopy",
      L"robocopy " + quotedSource,
      L"robocopy " + quotedSource + L" " + quotedDestination + L" /MIR /BOGUS",
      L"robocopy " + quotedSource + L" " + quotedDestination + L" /MIR /R:x",
      L"robocopy " + quotedSource + L" " + quotedDestination + L" /R:0 /W:0",
      L"robocopy " + quotedSource + L" " + quotedDestination + L" /MIR /LOG:",
  };
  for (const std::wstring& line : lines) {
    UniqueHandle process = Start(line);
    ASSERT_TRUE(process.Valid());
    ASSERT_EQ(WaitForSingleObject(process.Get(), kDeadlineMs), static_cast<DWORD>(WAIT_OBJECT_0))
        << ToUtf8(line);
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(code, 16u) << ToUtf8(line);
    EXPECT_FALSE(Exists(FDestination)) << ToUtf8(line);
  }
  const auto console = ReadShared(FConsolePath);
  ASSERT_TRUE(console.has_value());
  EXPECT_NE(console->find("ERROR : Invalid Parameter #4 : \"/LOG:\""), std::string::npos);
}

} // namespace
