// Drives the program for the benchmarks as an operator would.
//   replimar_bench_driver start <exe> <runs>
//     Starts the program once to warm up, then runs times, each time measuring from
//     CreateProcess to its visible main window and closing it; prints the times and the median.
//   replimar_bench_driver startpair <exe> <bare exe> <runs> [steps]
//     Starts the program and the bare window by turns, the same number of times after one
//     warm-up each, and prints both medians and their ratio. With "steps", also watches each
//     start's windows from outside (a WinEvent hook on the started process) and prints the
//     median time of each step of both.
//   replimar_bench_driver follow <exe> <flag folder>
//     Stores a source and a destination folder of its own for the program, starts it and prints
//     "shown" once its window is visible; when the file "go" appears in the flag folder, presses
//     "Sincronizar Agora" and prints "following" once the log pane shows the log's last line; when
//     "stop" appears, closes the program. The script measures the process in between.
//   replimar_bench_driver answers <exe> <source folder>
//     Stores the source folder (and a destination of its own) for the program and starts it; then,
//     while "Sincronizar Agora" starts a run over the source and until the gauge leaves 0% (the
//     count of the source's files has ended), asks the window to answer WM_NULL every 50 ms from
//     another thread (SendMessageTimeoutW, as the system does before it calls a window not
//     responding). Prints the waits: how many, the longest, the median, and when the log and the
//     count came.
//   replimar_bench_driver startwith <exe> <bare exe> <runs> <source> <destination>
//     As startpair, with the two folders stored for the program.
//   replimar_bench_driver firstanswers <exe> <source> <destination> <seconds>
//     Stores the two folders and starts the program; from its visible window until seconds
//     after its start, asks the window to answer WM_NULL every 50 ms. Prints when the window
//     showed and the waits.
#include "bench/BenchLog.h"
#include "funcoes/Handles.h"
#include "funcoes/RegistryValue.h"
#include "tests/e2e/AnswerProbe.h"
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
using namespace std::chrono_literals;
using e2e::TAnswerProbe;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kMainCaption[] = L"Replica\u00e7\u00e3o diferencial de dados KORVELL";
constexpr wchar_t kSyncNowText[] = L"Sincronizar Agora";
constexpr wchar_t kGaugeClass[] = L"ReplimarGauge";
// How often the driver looks for the window. Every look is a round of window-manager calls
// through the wineserver, which the starting program needs too: looking every millisecond
// slowed a start that makes many such calls (the program) far more than a bare window's.
constexpr DWORD kPollMs = 5;

// A step that did not happen in time; main prints it and fails.
struct TDriverFailure {
  const char* What;
};

void Expect(bool condition, const char* failure) {
  if (!condition) throw TDriverFailure{failure};
}

// Looks every pollMs; in between, hands on this thread's messages, which bring the window
// events of a watched start.
bool WaitFor(const std::function<bool()>& condition, Clock::duration timeout, DWORD pollMs) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&message);
  }
  return true;
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A start's steps as seen from outside, in ms since CreateProcess: the windows the started
// process makes (EVENT_OBJECT_CREATE from an out-of-context hook, whose events come to the
// driver's thread as messages with the tick count of their making, so the program neither
// polls nor writes anything) and the poll that finds its main window visible, the start's
// figure. -1: not seen. (Wine raises no EVENT_OBJECT_SHOW, so the show itself is seen only by
// the poll.)
struct TStartSteps {
  double FirstWindow = -1; // the first window of the process, of any kind
  double MainWindow = -1;  // its main window made, not yet shown
  double LastChild = -1;   // the last window made inside the main window
  double Visible = -1;     // found visible by the driver's poll
};

// Watches one start's windows while it exists; one at a time (the hook's callback has no
// context of its own).
class TStartWatch {
public:
  // The system's tick count at started is the zero of the event times.
  TStartWatch(Clock::time_point started, DWORD processId)
      : FStartTick(GetTickCount() - static_cast<DWORD>(MillisecondsSince(started))) {
    FActive = this;
    FHook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnCreate, processId,
                            0, WINEVENT_OUTOFCONTEXT);
    Expect(FHook != nullptr, "cannot watch the program's windows");
  }
  ~TStartWatch() {
    UnhookWinEvent(FHook);
    FActive = nullptr;
  }
  TStartWatch(const TStartWatch&) = delete;
  TStartWatch& operator=(const TStartWatch&) = delete;
  TStartSteps Steps;

private:
  static void CALLBACK OnCreate(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                                DWORD time) {
    if (FActive && window && object == OBJID_WINDOW && child == CHILDID_SELF)
      FActive->Made(window, time);
  }
  // time: the tick count when the window was made, which comes before the event reaches the
  // driver.
  void Made(HWND window, DWORD time) {
    const double at = static_cast<double>(static_cast<LONG>(time - FStartTick));
    if (at < 0) return; // a window of an earlier start, told late
    if (Steps.FirstWindow < 0) Steps.FirstWindow = at;
    wchar_t caption[128] = {};
    GetWindowTextW(window, caption, 128);
    if (!FMain && GetAncestor(window, GA_PARENT) == GetDesktopWindow() &&
        std::wcscmp(caption, kMainCaption) == 0) {
      FMain = window;
      Steps.MainWindow = at;
    } else if (FMain && IsChild(FMain, window)) {
      Steps.LastChild = at;
    }
  }
  static inline TStartWatch* FActive = nullptr;
  const DWORD FStartTick;
  HWINEVENTHOOK FHook = nullptr;
  HWND FMain = nullptr;
};

void Say(const char* state) {
  std::printf("%s\n", state);
  std::fflush(stdout);
}

// WM_GETTEXT, which also reads an edit control of another process.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

struct TSearch {
  DWORD ProcessId = 0;
  const wchar_t* ClassName = nullptr;
  const wchar_t* Text = nullptr;
  HWND Found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<TSearch*>(param);
  if (search.ProcessId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.ProcessId || !IsWindowVisible(window)) return TRUE;
  }
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (search.ClassName && _wcsicmp(name, search.ClassName) != 0) return TRUE;
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128); // the caption the system keeps; no message to the program
  if (search.Text && std::wcscmp(text, search.Text) != 0) return TRUE;
  search.Found = window;
  return FALSE;
}

struct TProgram {
  UniqueHandle Process;
  DWORD Id = 0;
  HWND Window = nullptr;

  // With watch, the process starts suspended and is let run once the watch is in place.
  explicit TProgram(const std::wstring& exe, std::unique_ptr<TStartWatch>* watch = nullptr,
                    Clock::time_point started = Clock::now()) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    Expect(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          watch ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &info),
           "cannot start the program");
    Process.Reset(info.hProcess);
    UniqueHandle thread(info.hThread);
    Id = info.dwProcessId;
    if (watch) {
      *watch = std::make_unique<TStartWatch>(started, Id);
      ResumeThread(thread.Get());
    }
  }
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;
  // A program left running by a failure is ended.
  ~TProgram() {
    if (WaitForSingleObject(Process.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(Process.Get(), 1);
  }

  void WaitForWindow() {
    Expect(WaitFor(
               [&] {
                 TSearch search{Id, nullptr, kMainCaption};
                 EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
                 Window = search.Found;
                 return Window != nullptr;
               },
               30s, kPollMs),
           "the main window did not appear within 30 s");
  }
  HWND Child(const wchar_t* className, const wchar_t* text) const {
    TSearch search{0, className, text};
    EnumChildWindows(Window, Match, reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }
  // Closing is never refused: the process ends once its run has seen the stop.
  void Close() {
    PostMessageW(Window, WM_CLOSE, 0, 0);
    Expect(WaitForSingleObject(Process.Get(), 20000) == WAIT_OBJECT_0,
           "the program did not end within 20 s of WM_CLOSE");
  }
};

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Milliseconds from CreateProcess to the visible main window; with watch, the steps before it.
TStartSteps StartOnce(const std::wstring& exe, bool watch = false) {
  const auto started = Clock::now();
  std::unique_ptr<TStartWatch> watching;
  TProgram program(exe, watch ? &watching : nullptr, started);
  program.WaitForWindow();
  const double visible = MillisecondsSince(started);
  TStartSteps steps = watching ? watching->Steps : TStartSteps{};
  steps.Visible = visible;
  program.Close();
  return steps;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintTimes(const char* label, const std::vector<double>& times) {
  std::printf("%s starts (ms):", label);
  for (const double ms : times)
    std::printf(" %.0f", ms);
  std::printf("\n%s median %.0f ms, fastest %.0f ms, slowest %.0f ms\n", label, Median(times),
              *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()));
}

void Starts(const std::wstring& exe, int runs) {
  std::vector<double> times;
  for (int i = 0; i <= runs; ++i) {
    const double ms = StartOnce(exe).Visible;
    if (i > 0) times.push_back(ms); // the first start only warms the caches up
  }
  PrintTimes("program", times);
}

// The median of each step over the starts, for the program and the bare window.
void PrintSteps(const std::vector<TStartSteps>& program, const std::vector<TStartSteps>& bare) {
  const struct {
    const char* Name;
    double TStartSteps::*Field;
  } rows[] = {
      {"first window of the process", &TStartSteps::FirstWindow},
      {"main window made (hidden)", &TStartSteps::MainWindow},
      {"last window made inside it", &TStartSteps::LastChild},
      {"found visible by the driver", &TStartSteps::Visible},
  };
  const auto median = [](const std::vector<TStartSteps>& starts, double TStartSteps::*field) {
    std::vector<double> seen;
    for (const TStartSteps& start : starts)
      if (start.*field >= 0) seen.push_back(start.*field);
    return seen.empty() ? -1 : Median(seen);
  };
  std::printf("%-40s %12s %12s\n", "step (ms since CreateProcess, medians)", "program",
              "bare window");
  for (const auto& row : rows)
    std::printf("%-40s %12.1f %12.1f\n", row.Name, median(program, row.Field),
                median(bare, row.Field));
}

// The program and the bare window by turns, so that both see the same machine load.
void StartPairs(const std::wstring& exe, const std::wstring& bare, int runs, bool watch) {
  std::vector<TStartSteps> program, window;
  for (int i = 0; i <= runs; ++i) {
    const TStartSteps p = StartOnce(exe, watch);
    const TStartSteps w = StartOnce(bare, watch);
    if (i == 0) continue; // the first start of each only warms the caches up
    program.push_back(p);
    window.push_back(w);
  }
  const auto visible = [](const std::vector<TStartSteps>& starts) {
    std::vector<double> times;
    for (const TStartSteps& start : starts)
      times.push_back(start.Visible);
    return times;
  };
  PrintTimes("program", visible(program));
  PrintTimes("bare window", visible(window));
  std::printf("ratio of the medians %.2f\n", Median(visible(program)) / Median(visible(window)));
  if (watch) PrintSteps(program, window);
}

// Stores a folder for the program (storage_Origem or storage_Destino) and puts back what was
// stored before when it ends, so that the other measures of the prefix start on their own
// folders.
class TStoredFolder {
public:
  TStoredFolder(const wchar_t* name, const std::wstring& folder) : FName(name) {
    std::wstring before(32768, L'\0');
    DWORD bytes = static_cast<DWORD>(before.size() * sizeof(wchar_t));
    FHadOne = RegGetValueW(HKEY_CURRENT_USER, kRegistryKeyPath + 1, FName, RRF_RT_REG_SZ, nullptr,
                           before.data(), &bytes) == ERROR_SUCCESS;
    if (FHadOne) FBefore = before.c_str();
    Expect(Store(folder), "cannot store a folder");
  }
  ~TStoredFolder() {
    if (FHadOne)
      Store(FBefore);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kRegistryKeyPath + 1, FName);
  }
  TStoredFolder(const TStoredFolder&) = delete;
  TStoredFolder& operator=(const TStoredFolder&) = delete;

private:
  bool Store(const std::wstring& folder) const {
    return RegSetKeyValueW(HKEY_CURRENT_USER, kRegistryKeyPath + 1, FName, REG_SZ, folder.c_str(),
                           static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
  }
  const wchar_t* FName;
  bool FHadOne = false;
  std::wstring FBefore;
};

// A folder of the driver's own in the temporary folder, made when missing.
std::wstring BenchFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void Follow(const std::wstring& exe, const std::wstring& flags) {
  // A run mirrors only folders the operator chose, which the program knows from its store.
  const TStoredFolder source(L"storage_Origem", BenchFolder(L"replimar-bench-source"));
  const TStoredFolder destination(L"storage_Destino", BenchFolder(L"replimar-bench-destination"));
  TProgram program(exe);
  program.WaitForWindow();
  Say("shown");
  Expect(WaitFor([&] { return FileExists(flags + L"\\go"); }, 120s, 100), "no go within 120 s");
  const HWND button = program.Child(L"Button", kSyncNowText);
  const HWND pane = program.Child(L"Edit", nullptr);
  Expect(button && pane, "no \"Sincronizar Agora\" button or no log pane");
  PostMessageW(button, BM_CLICK, 0, 0);
  Expect(WaitFor([&] { return TextOf(pane).find(kBenchLogLastLine) != std::wstring::npos; }, 120s,
                 100),
         "the log pane did not show the log's last line within 120 s");
  Say("following");
  Expect(WaitFor([&] { return FileExists(flags + L"\\stop"); }, 600s, 100), "no stop within 600 s");
  program.Close();
  Say("closed");
}
void Answers(const std::wstring& exe, const std::wstring& source) {
  const TStoredFolder storedSource(L"storage_Origem", source);
  const TStoredFolder destination(L"storage_Destino", BenchFolder(L"replimar-bench-destination"));
  TProgram program(exe);
  program.WaitForWindow();
  const HWND button = program.Child(L"Button", kSyncNowText);
  const HWND pane = program.Child(L"Edit", nullptr);
  const HWND gauge = program.Child(kGaugeClass, nullptr);
  Expect(button && pane && gauge, "no \"Sincronizar Agora\" button, log pane or gauge");
  Expect(TextOf(gauge) == L"0%", "the gauge does not show 0% before the run");

  const auto clicked = Clock::now();
  TAnswerProbe probe(program.Window);
  PostMessageW(button, BM_CLICK, 0, 0);
  double followed = -1;
  const bool counted = WaitFor(
      [&] {
        if (followed < 0 && TextOf(pane).find(kBenchLogLastLine) != std::wstring::npos)
          followed = MillisecondsSince(clicked);
        const std::wstring text = TextOf(gauge);
        return !text.empty() && text != L"0%";
      },
      600s, 100);
  const double countedAfter = MillisecondsSince(clicked);
  probe.Stop();
  program.Close();
  Expect(counted, "the gauge did not leave 0% within 600 s");

  const std::vector<double>& waits = probe.Waits();
  Expect(!waits.empty(), "the window was never asked");
  std::printf("log followed after %.0f ms, count ended after %.0f ms (gauge left 0%%)\n", followed,
              countedAfter);
  std::printf("%llu answers asked, %d unanswered within 10 s; median wait %.1f ms, longest wait "
              "%.1f ms\n",
              static_cast<unsigned long long>(waits.size()), probe.Unanswered(), Median(waits),
              *std::max_element(waits.begin(), waits.end()));
  // Where the long waits fell, to tell the count's slices from the log's passes.
  std::vector<size_t> order(waits.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return waits[a] > waits[b]; });
  std::printf("longest waits (ms, asked at ms after the click):");
  for (size_t i = 0; i < std::min<size_t>(5, order.size()); ++i)
    std::printf(" %.0f at %.0f;", waits[order[i]], probe.AskedAt()[order[i]]);
  std::printf("\n");
}

// The start against the bare window's, with both folders stored.
void StartWith(const std::wstring& exe, const std::wstring& bare, int runs,
               const std::wstring& source, const std::wstring& destination) {
  const TStoredFolder storedSource(L"storage_Origem", source);
  const TStoredFolder storedDestination(L"storage_Destino", destination);
  StartPairs(exe, bare, runs, false);
}

// The window's answers over the first seconds after the start, with both folders stored.
void FirstAnswers(const std::wstring& exe, const std::wstring& source,
                  const std::wstring& destination, int seconds) {
  const TStoredFolder storedSource(L"storage_Origem", source);
  const TStoredFolder storedDestination(L"storage_Destino", destination);
  const auto started = Clock::now();
  TProgram program(exe);
  program.WaitForWindow();
  const double shownAfter = MillisecondsSince(started);
  TAnswerProbe probe(program.Window);
  WaitFor([&] { return MillisecondsSince(started) >= seconds * 1000.0; }, 2 * seconds * 1s, 20);
  probe.Stop();
  program.Close();
  const std::vector<double>& waits = probe.Waits();
  Expect(!waits.empty(), "the window was never asked");
  std::printf("window shown after %.0f ms; over the first %d s: %llu answers asked, %d "
              "unanswered within 10 s; median wait %.1f ms, longest wait %.1f ms\n",
              shownAfter, seconds, static_cast<unsigned long long>(waits.size()),
              probe.Unanswered(), Median(waits), *std::max_element(waits.begin(), waits.end()));
}
} // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    if (argc == 4 && std::wcscmp(argv[1], L"start") == 0) {
      Starts(argv[2], std::max(1, _wtoi(argv[3])));
      return 0;
    }
    if ((argc == 5 || (argc == 6 && std::wcscmp(argv[5], L"steps") == 0)) &&
        std::wcscmp(argv[1], L"startpair") == 0) {
      StartPairs(argv[2], argv[3], std::max(1, _wtoi(argv[4])), argc == 6);
      return 0;
    }
    if (argc == 4 && std::wcscmp(argv[1], L"follow") == 0) {
      Follow(argv[2], argv[3]);
      return 0;
    }
    if (argc == 4 && std::wcscmp(argv[1], L"answers") == 0) {
      Answers(argv[2], argv[3]);
      return 0;
    }
    if (argc == 7 && std::wcscmp(argv[1], L"startwith") == 0) {
      StartWith(argv[2], argv[3], std::max(1, _wtoi(argv[4])), argv[5], argv[6]);
      return 0;
    }
    if (argc == 6 && std::wcscmp(argv[1], L"firstanswers") == 0) {
      FirstAnswers(argv[2], argv[3], argv[4], std::max(1, _wtoi(argv[5])));
      return 0;
    }
    std::fprintf(stderr, "usage: replimar_bench_driver start <exe> <runs>\n"
                         "       replimar_bench_driver startpair <exe> <bare exe> <runs> [steps]\n"
                         "       replimar_bench_driver follow <exe> <flag folder>\n"
                         "       replimar_bench_driver answers <exe> <source folder>\n"
                         "       replimar_bench_driver startwith <exe> <bare exe> <runs> <source> "
                         "<destination>\n"
                         "       replimar_bench_driver firstanswers <exe> <source> <destination> "
                         "<seconds>\n");
    return 2;
  } catch (const TDriverFailure& failure) {
    std::fprintf(stderr, "driver: %s\n", failure.What);
    return 1;
  }
}
