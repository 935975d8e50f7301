// Stand-in of the mirroring tool for the Wine test prefix, where the system's own robocopy is a
// stub that copies nothing. It mirrors, logs and monitors as the program expects; see README.md.
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/CommandLineArgs.h"
#include "funcoes/pure/Exception.h"
#include "wine-standin/StandinLog.h"
#include "wine-standin/StandinMirror.h"
#include "wine-standin/pure/StandinArgs.h"
#include "wine-standin/pure/StandinLogText.h"
#include "wine-standin/pure/StandinModes.h"
#include "wine-standin/pure/StandinSnapshot.h"
#include <windows.h>
#include <algorithm>

namespace {

constexpr int kUsageExitCode = 16;
// Between passes: how often the log is reopened (a reader may have deleted it), and the bounds
// of the pause between two looks at the source tree, which grows with the time a look takes.
constexpr DWORD kTickMs = 250;
constexpr ULONGLONG kMinLookMs = 250, kMaxLookMs = 5000;

std::wstring EnvironmentText(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring text(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, text.data(), size);
  text.resize(length < size ? length : 0);
  return text;
}

// Recording mode (REPLIMAR_STANDIN_RECORD=file): the two folders as this process resolves them
// go to the file in UTF-8, one per line, and nothing is mirrored. Lets a test see where a
// command would have pointed the tool without letting it touch that folder.
int RecordFolders(const TStandinOptions& options, const std::wstring& recordPath) {
  const std::string text = ToUtf8(StandinFullPath(options.Source) + L"\r\n" +
                                  StandinFullPath(options.Destination) + L"\r\n");
  UniqueFileHandle file(CreateFileW(recordPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw EInOutError(L"Cannot write \"" + recordPath + L"\"");
  DWORD written = 0;
  WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return 0;
}

// Exit code of a single pass (no monitoring), bits as the mirroring tool sets them.
int ExitCodeOf(const TStandinTotals& totals) {
  int code = 0;
  if (totals.Files.Copied > 0) code |= 1;
  if (totals.Files.Extras > 0 || totals.Dirs.Extras > 0) code |= 2;
  if (totals.Files.Failed > 0 || totals.Dirs.Failed > 0) code |= 8;
  return code;
}

// Watches the source after a pass until the next one is due: at least the wanted number of
// changes since the pass began, and /MOT minutes since it ended.
void WaitForChanges(const TStandinOptions& options, TStandinMirror& mirror, TStandinLog& log,
                    const TStandinSnapshot& baseline, int64_t minuteMs) {
  const std::wstring waiting =
      FormatMonitorLine(log.Words(), options.MonitorMinutes, options.ChangesToWaitFor());
  log.Write(waiting);
  const ULONGLONG passEnded = GetTickCount64();
  const auto due = passEnded + static_cast<ULONGLONG>(options.MonitorMinutes * minuteMs);
  ULONGLONG nextLook = due;
  for (;;) {
    Sleep(kTickMs);
    // A log begun afresh shows what the tool is doing at once.
    if (log.Reopen()) log.Write(waiting);
    const ULONGLONG now = GetTickCount64();
    if (now < nextLook) continue;
    const TStandinSnapshot current = mirror.Snapshot();
    const ULONGLONG looked = GetTickCount64();
    if (CountChanges(baseline, current) >= options.ChangesToWaitFor()) return;
    nextLook = looked + std::clamp<ULONGLONG>((looked - now) * 4, kMinLookMs, kMaxLookMs);
  }
}

// Ends the process with the chosen code once the time has passed, whatever the main thread is
// doing, as an unplugged drive, a fatal error or someone ending the tool would.
DWORD WINAPI EndEarly(void* parameter) {
  const auto* exit = static_cast<const TStandinEarlyExit*>(parameter);
  Sleep(static_cast<DWORD>(exit->AfterMs));
  ExitProcess(static_cast<UINT>(exit->Code));
}

int RunStandin(const TStandinOptions& options, const TStandinModes& modes) {
  if (const std::wstring record = EnvironmentText(L"REPLIMAR_STANDIN_RECORD"); !record.empty())
    return RecordFolders(options, record);
  if (modes.Exit) {
    UniqueHandle timer(CreateThread(nullptr, 0, EndEarly,
                                    const_cast<TStandinEarlyExit*>(&*modes.Exit), 0, nullptr));
    if (!timer) return kUsageExitCode;
  }
  TStandinLog log(options.LogPath.empty() ? std::wstring() : StandinFullPath(options.LogPath),
                  modes, options.Unicode, options.Tee);
  TStandinMirror mirror(options, log);
  const int64_t minuteMs = MinuteMilliseconds(EnvironmentText(L"REPLIMAR_STANDIN_MINUTE_MS"));
  for (;;) {
    // Taken before the pass, so that a change made while it copies is seen afterwards.
    const TStandinSnapshot baseline = mirror.Snapshot();
    const TStandinTotals totals = mirror.RunPass();
    if (!options.Monitors()) return ExitCodeOf(totals);
    WaitForChanges(options, mirror, log, baseline, minuteMs);
  }
}

} // namespace

int wmain() {
  TStandinOptions options;
  TStandinModes modes;
  try {
    options = ParseStandinOptions(SplitCommandLineArgs(GetCommandLineW()));
    modes = ParseStandinModes(EnvironmentText(L"REPLIMAR_STANDIN_LOG_HANDLE"),
                              EnvironmentText(L"REPLIMAR_STANDIN_LOG_ENCODING"),
                              EnvironmentText(L"REPLIMAR_STANDIN_EXIT"), options.Unicode);
  } catch (const EStandinUsage& error) {
    TStandinLog::ToConsole(L"\r\nERROR : " + error.Message() + L"\r\n\r\n" + StandinUsageText(),
                           false);
    return kUsageExitCode;
  }
  try {
    return RunStandin(options, modes);
  } catch (const Exception& error) {
    // Only the start can fail this way (a path the system cannot resolve); passes log their
    // own errors and go on.
    TStandinLog::ToConsole(L"\r\nERROR : " + error.Message() + L"\r\n", options.Unicode);
    return kUsageExitCode;
  }
}
