// The file count on a folder tree, in two measures:
//   replimar_bench_count <folder> [runs]
//     Files counted per second: TFileCount in one go against the command interpreter's recursive
//     listing "dir /s /b /a-d", each the median of a few runs on a tree already cached. Prints
//     one table row per method: method, files found, median seconds, files per second.
//   replimar_bench_count walk <folder> [runs]
//     The program's count as a run does it (TFileCount in slices of 20 ms) against a bare walk
//     of the same tree (FindFirstFileExW with FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH,
//     nothing else), by turns after one warm-up of each; prints both rows and the ratio of the
//     medians.
#include "funcoes/Handles.h"
#include "ui/FileCount.h"
#include <windows.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRow(const char* method, int64_t files, double seconds) {
  std::printf("%-36s %9lld %10.3f %12.0f\n", method, static_cast<long long>(files), seconds,
              seconds > 0 ? static_cast<double>(files) / seconds : 0.0);
}

// Runs a command line hidden and waits for it to end; the seconds it took.
double RunTimed(std::wstring commandLine) {
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  const auto started = Clock::now();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &info)) {
    std::fprintf(stderr, "cannot start the command interpreter, error %lu\n", GetLastError());
    std::exit(1);
  }
  UniqueHandle process(info.hProcess), thread(info.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  return std::chrono::duration<double>(Clock::now() - started).count();
}

// Files below a folder, as plainly as the system lists them: every entry that is not a folder
// counts, every folder is entered.
int64_t BareWalk(const std::wstring& folder) {
  int64_t files = 0;
  std::vector<std::wstring> pending{folder};
  while (!pending.empty()) {
    const std::wstring path = std::move(pending.back());
    pending.pop_back();
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) continue;
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ++files;
      else if (std::wcscmp(entry.cFileName, L".") != 0 && std::wcscmp(entry.cFileName, L"..") != 0)
        pending.push_back(path + L"\\" + entry.cFileName);
    } while (FindNextFileW(find.Get(), &entry));
  }
  return files;
}

// The count as the run does it: slices of 20 ms until it ends.
int64_t SlicedCount(const std::wstring& folder) {
  TFileCount count(folder);
  while (!count.Step(GetTickCount64() + 20)) {
  }
  return count.Total();
}

void Walks(const std::wstring& folder, int runs) {
  std::vector<double> program, bare;
  int64_t counted = 0, walked = 0;
  for (int i = 0; i <= runs; ++i) {
    auto started = Clock::now();
    counted = SlicedCount(folder);
    const double p = std::chrono::duration<double>(Clock::now() - started).count();
    started = Clock::now();
    walked = BareWalk(folder);
    const double b = std::chrono::duration<double>(Clock::now() - started).count();
    if (i == 0) continue; // the warm-up fills the caches
    program.push_back(p);
    bare.push_back(b);
  }
  PrintRow("TFileCount, 20 ms slices", counted, Median(program));
  PrintRow("bare FindFirstFileExW walk", walked, Median(bare));
  std::printf("ratio of the medians %.3f\n", Median(program) / Median(bare));
}

// Lines of a text file: the entries of a listing, one per line.
int64_t CountLines(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  int64_t lines = 0;
  char buffer[1 << 16];
  DWORD got = 0;
  while (file && ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    lines += std::count(buffer, buffer + got, '\n');
  return lines;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || (std::wcscmp(argv[1], L"walk") == 0 && argc < 3)) {
    std::fprintf(stderr, "usage: replimar_bench_count <folder> [runs]\n"
                         "       replimar_bench_count walk <folder> [runs]\n");
    return 2;
  }
  if (std::wcscmp(argv[1], L"walk") == 0) {
    Walks(argv[2], argc > 3 ? std::max(1, _wtoi(argv[3])) : 3);
    return 0;
  }
  const std::wstring folder = argv[1];
  const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;

  std::vector<double> seconds;
  int32_t counted = 0;
  for (int i = 0; i < runs; ++i) {
    const auto started = Clock::now();
    TFileCount count(folder);
    while (!count.Step(~0ull)) {
    }
    counted = count.Total();
    seconds.push_back(std::chrono::duration<double>(Clock::now() - started).count());
  }
  PrintRow("TFileCount in one go (FindFirstFileExW)", counted, Median(seconds));

  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring listing = std::wstring(temp) + L"replimar_bench_listing.txt";
  seconds.clear();
  for (int i = 0; i < runs; ++i)
    seconds.push_back(
        RunTimed(L"cmd.exe /c dir /s /b /a-d \"" + folder + L"\" > \"" + listing + L"\""));
  PrintRow("cmd /c dir /s /b /a-d (under Wine)", CountLines(listing), Median(seconds));
  DeleteFileW(listing.c_str());
  return 0;
}
