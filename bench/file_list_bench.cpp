// Reading a big folder into the file list against one plain listing of that folder:
//   replimar_bench_file_list <folder> [runs]
// The list, on screen with the window's media mask, is moved from an empty folder to folder
// (which it reads on the pool; timed until its rows are all in), by turns with one FindFirstFileExW
// listing of the folder (FindExInfoBasic, no other flag), after one warm-up of each. Prints both
// medians with the rows shown and the entries listed, and the ratio of the medians; then a folder
// list moved from the empty folder to folder with its linked file list (both lists read it, from
// one listing); then, to show what the list's time goes to, the time of the mask's pattern searches
// alone (no list box).
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include "funcoes/pure/PathText.h"
#include "ui/pure/WindowTexts.h"
#include "widgets/DirectoryListBox.h"
#include "widgets/FileListBox.h"
#include "widgets/Form.h"
#include "widgets/pure/FileMask.h"
#include <windows.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double SecondsSince(Clock::time_point started) {
  return std::chrono::duration<double>(Clock::now() - started).count();
}

// The entries of one listing of the folder, "." and ".." left out.
long long PlainListing(const std::wstring& folder) {
  long long entries = 0;
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, 0));
  if (!find) return 0;
  do {
    if (std::wcscmp(entry.cFileName, L".") != 0 && std::wcscmp(entry.cFileName, L"..") != 0)
      ++entries;
  } while (FindNextFileW(find.Get(), &entry));
  return entries;
}

// The names the mask's pattern searches find, one search per pattern as the list makes them.
long long PatternSearches(const std::wstring& folder, const std::wstring& mask) {
  long long names = 0;
  for (const std::wstring& pattern : SplitMask(mask)) {
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileExW(JoinFolder(folder, pattern).c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, 0));
    if (!find) continue;
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++names;
    } while (FindNextFileW(find.Get(), &entry));
  }
  return names;
}

// Dispatches this thread's messages until none of the lists waits for its rows: a read that
// has not answered within the window's wait, or a big folder's rows added in steps, ends at a
// dispatch.
void SettleLists(std::initializer_list<const TListControl*> lists) {
  const auto waiting = [&] {
    return std::any_of(lists.begin(), lists.end(),
                       [](const TListControl* l) { return l->Waiting(); });
  };
  while (waiting()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void Measure(const std::wstring& folder, int runs) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring empty = std::wstring(temp) + L"replimar_bench_empty";
  CreateDirectoryW(empty.c_str(), nullptr);
  SetCurrentDirectoryW(empty.c_str()); // a new list reads the current folder

  TForm host;
  host.CreateForm(L"ReplimarBenchHost", L"file list", 400, 300, TFontSpec{});
  // On screen, so that the list reads each change at once, as in the running window.
  SetWindowPos(host.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  TFileListBox list;
  list.SetBounds({8, 8, 200, 200});
  list.Create(host);
  list.SetMask(kMediaMask);

  // A folder list with its own file list, as each side of the window has them.
  TDirectoryListBox folders;
  TFileListBox followed;
  folders.SetBounds({8, 216, 200, 60});
  followed.SetBounds({216, 8, 170, 200});
  folders.Create(host);
  followed.Create(host);
  followed.SetMask(kMediaMask);
  folders.FileList = &followed;

  std::vector<double> read, moved, listed, searched;
  LRESULT rows = 0;
  long long entries = 0, found = 0;
  for (int i = 0; i <= runs; ++i) {
    list.SetDirectory(empty);
    SettleLists({&list});
    auto started = Clock::now();
    list.SetDirectory(folder);
    SettleLists({&list});
    const double r = SecondsSince(started);
    rows = SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0);
    folders.SetDirectory(empty);
    SettleLists({&folders, &followed});
    started = Clock::now();
    folders.SetDirectory(folder);
    SettleLists({&folders, &followed});
    const double m = SecondsSince(started);
    if (SendMessageW(followed.Handle(), LB_GETCOUNT, 0, 0) != rows)
      std::fprintf(stderr, "the file list moved by its folder list shows other rows\n");
    started = Clock::now();
    entries = PlainListing(folder);
    const double l = SecondsSince(started);
    started = Clock::now();
    found = PatternSearches(folder, kMediaMask);
    const double s = SecondsSince(started);
    if (i == 0) continue; // the warm-up fills the caches
    read.push_back(r);
    moved.push_back(m);
    listed.push_back(l);
    searched.push_back(s);
  }
  std::printf("%-44s %9s %10s\n", "method", "names", "seconds");
  std::printf("%-44s %9lld %10.3f\n", "file list (TFileListBox, media mask)",
              static_cast<long long>(rows), Median(read));
  std::printf("%-44s %9lld %10.3f\n", "one FindFirstFileExW listing", entries, Median(listed));
  std::printf("ratio of the medians %.2f\n", Median(read) / Median(listed));
  std::printf("%-44s %9lld %10.3f\n", "folder list moved, with its file list",
              static_cast<long long>(rows), Median(moved));
  std::printf("%-44s %9lld %10.3f\n", "the mask's 22 searches alone, no list box", found,
              Median(searched));
}
} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: replimar_bench_file_list <folder> [runs]\n");
    return 2;
  }
  try {
    Measure(argv[1], argc > 2 ? std::max(1, _wtoi(argv[2])) : 3);
  } catch (const Exception& error) {
    std::fprintf(stderr, "the list could not read the folder: %ls\n", error.Message().c_str());
    return 1;
  }
  return 0;
}
