// Files counted per second on a folder tree: CountFilesIn against the command interpreter's
// recursive listing "dir /s /b /a-d", each the median of a few runs on a tree already cached.
//   replimar_bench_count <folder> [runs]
// Prints one table row per method: method, files found, median seconds, files per second.
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
  if (argc < 2) {
    std::fprintf(stderr, "usage: replimar_bench_count <folder> [runs]\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;

  std::vector<double> seconds;
  int32_t counted = 0;
  for (int i = 0; i < runs; ++i) {
    const auto started = Clock::now();
    counted = CountFilesIn(folder);
    seconds.push_back(std::chrono::duration<double>(Clock::now() - started).count());
  }
  PrintRow("CountFilesIn (FindFirstFileExW)", counted, Median(seconds));

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
