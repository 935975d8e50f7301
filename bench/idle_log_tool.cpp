// Stands in for the mirroring tool while the benchmarks measure a run that follows an idle log:
// writes a full log (5 MiB of UTF-16 with its mark: the largest size the run keeps) to the path
// of its /LOG: argument, holds it open as the tool does, and waits until it is ended (the
// program's next start ends it). Installed as robocopy.exe into the benchmark prefix only.
// REPLIMAR_BENCH_PROGRESS_LINES, when set, makes the log that many lines "100%" and its last
// line instead: a short log, as a real run's begins, with as many lines as the gauge counts.
#include "bench/BenchLog.h"
#include "funcoes/Handles.h"
#include "ui/pure/LogText.h"
#include <windows.h>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  std::wstring logPath;
  for (int i = 1; i < argc; ++i)
    if (_wcsnicmp(argv[i], L"/LOG:", 5) == 0) logPath = argv[i] + 5;
  if (logPath.empty()) return 16;

  std::string log;
  wchar_t lines[32] = {};
  if (GetEnvironmentVariableW(L"REPLIMAR_BENCH_PROGRESS_LINES", lines, 32) > 0) {
    std::wstring text;
    for (long long i = _wtoi64(lines); i > 0; --i)
      text += L"100%\r\n";
    log = "\xFF\xFE" + EncodeBenchText(text + kBenchLogLastLine, true);
  } else {
    log = MakeBenchLog(static_cast<size_t>(kLogSizeLimit), true);
  }
  UniqueFileHandle file(CreateFileW(logPath.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 16;
  DWORD written = 0;
  if (!WriteFile(file.Get(), log.data(), static_cast<DWORD>(log.size()), &written, nullptr))
    return 16;
  Sleep(INFINITE);
  return 0;
}
