#pragma once
// Shared helpers of the in-process Win32 tests: the application set up once, a host window
// for widgets, temporary folder trees, polling with a deadline, reads of a whole file and of
// its size, and a closer for the modal message box that an event handler's error opens.
#include "funcoes/Files.h"
#include "funcoes/Handles.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/PathText.h"
#include "widgets/Application.h"
#include "widgets/Form.h"
#include "widgets/ListControl.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace wintest {

// Application.Initialize() once for the whole test program, as the entry point does.
class TApplicationEnvironment : public ::testing::Environment {
public:
  void SetUp() override { Application.Initialize(); }
};
// GoogleTest takes ownership of the environment.
inline ::testing::Environment* const gApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

constexpr DWORD kDefaultDeadlineMs = 15000;

// Polls a condition until it holds or the deadline passes; dispatches this thread's messages
// meanwhile so that windows of the test stay responsive.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kDefaultDeadlineMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// A list's rows once it has read them: a look at the rows starts a waiting read, whose answer
// is waited for (a read that has not answered in the window's wait, on a loaded host, shows when
// the answer is dispatched).
inline std::vector<std::wstring> Rows(const TListControl& list) {
  SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !list.Waiting(); })) << "the list's read never answered";
  return list.Items();
}

inline std::string Narrow(const std::wstring& text) {
  return ToUtf8(text);
}

// The whole file as it is now, opened as the log reader opens the log (sharing read and write
// with its writer). A file that exists but cannot be opened raises EFOpenError.
inline std::string ReadWholeFile(const std::wstring& path) {
  DWORD error = ERROR_SUCCESS;
  const UniqueFileHandle file = OpenSharedForReading(path, error);
  if (!file) throw CannotOpenFile(path, error);
  LARGE_INTEGER size{};
  GetFileSizeEx(file.Get(), &size);
  return ReadAt(file.Get(), 0, size.QuadPart); // shorter if the writer cut the file meanwhile
}

// Size of a file while another process writes it; 0 when it cannot be asked.
inline int64_t FileSizeOf(const std::wstring& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) |
                              data.nFileSizeLow);
}

inline std::wstring CurrentFolderNow() {
  wchar_t buffer[MAX_PATH * 2] = {};
  GetCurrentDirectoryW(MAX_PATH * 2, buffer);
  return buffer;
}

inline bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool PathPresent(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A drive letter that names no drive of this system ("Q:"), searched from Q on.
inline std::wstring MissingDrive() {
  const DWORD drives = GetLogicalDrives();
  for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter)
    if (!(drives & (1u << (letter - L'A')))) return std::wstring(1, letter) + L":";
  ADD_FAILURE() << "every drive letter from Q to Y is in use";
  return L"Q:";
}

// Removes a tree; hidden, system and read-only entries included.
inline void RemoveTree(const std::wstring& folder) {
  const std::wstring path = LongPathForm(folder);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW entry;
  {
    UniqueFind find(FindFirstFileW(LongPathForm(folder + L"\\*").c_str(), &entry));
    if (find) {
      do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") RemoveTree(folder + L"\\" + name);
      } while (FindNextFileW(find.Get(), &entry));
    }
  }
  RemoveDirectoryW(path.c_str());
}

// A fresh folder under the user's temporary folder, removed with everything in it at the end.
// The process's current folder is put back first, since the lists move it into the tree.
class TTempTree {
public:
  explicit TTempTree(const std::wstring& tag) : FSavedCurrent(CurrentFolderNow()) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    wchar_t full[MAX_PATH * 2] = {};
    // The lists report long names; a short form of the temporary folder would not compare.
    if (!GetLongPathNameW(temp, full, MAX_PATH * 2)) lstrcpynW(full, temp, MAX_PATH * 2);
    std::wstring base = full;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    static std::atomic<int> serial{0};
    FRoot = base + L"\\replimar_" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(serial++);
    RemoveTree(FRoot);
    if (!CreateDirectoryW(FRoot.c_str(), nullptr))
      ADD_FAILURE() << "cannot create " << Narrow(FRoot) << ": "
                    << Narrow(SysErrorMessage(GetLastError()));
  }
  ~TTempTree() {
    SetCurrentDirectoryW(FSavedCurrent.c_str());
    RemoveTree(FRoot);
  }
  TTempTree(const TTempTree&) = delete;
  TTempTree& operator=(const TTempTree&) = delete;

  const std::wstring& Root() const { return FRoot; }
  std::wstring Path(const std::wstring& relative) const {
    return relative.empty() ? FRoot : FRoot + L"\\" + relative;
  }
  // Creates a folder (parents must exist) and returns its full path.
  std::wstring Folder(const std::wstring& relative, DWORD attributes = 0) const {
    const std::wstring path = Path(relative);
    if (!CreateDirectoryW(LongPathForm(path).c_str(), nullptr))
      ADD_FAILURE() << "cannot create folder " << Narrow(path);
    if (attributes && !SetFileAttributesW(LongPathForm(path).c_str(), attributes))
      ADD_FAILURE() << "cannot set attributes of " << Narrow(path);
    return path;
  }
  // Creates folders below the root, each named stem and a number padded to 60 characters,
  // until the deepest one's full path is at least length characters long; returns that path.
  std::wstring DeepFolder(const std::wstring& stem, size_t length) const {
    std::wstring relative;
    for (int level = 0; FRoot.size() + 1 + relative.size() < length; ++level) {
      std::wstring name = stem + std::to_wstring(level);
      name.resize(60, L'x');
      relative += (relative.empty() ? L"" : L"\\") + name;
      Folder(relative);
    }
    return Path(relative);
  }
  // Creates a file with the given bytes and returns its full path.
  std::wstring File(const std::wstring& relative, const std::string& bytes = {},
                    DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
    const std::wstring path = Path(relative);
    UniqueFileHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, attributes, nullptr));
    if (!file) {
      ADD_FAILURE() << "cannot create file " << Narrow(path);
      return path;
    }
    DWORD written = 0;
    if (!bytes.empty() &&
        !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
      ADD_FAILURE() << "cannot write " << Narrow(path);
    return path;
  }

private:
  std::wstring FSavedCurrent;
  std::wstring FRoot;
};

// A hidden top-level window that widgets are created into.
class THostForm {
public:
  explicit THostForm(int width = 400, int height = 300) {
    FForm.CreateForm(L"TestHost", L"host", width, height, TFontSpec{});
  }
  TForm& Form() { return FForm; }
  // Shows the window without running its show event (for tests that read painted pixels).
  void ShowPlain() {
    SetWindowPos(FForm.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateWindow(FForm.Handle());
  }

private:
  TForm FForm;
};

// Waits on its own thread for the program's modal message box (a top-level "ReplimarMessage"
// window of this process), records its texts and closes it. The test's thread meanwhile runs
// the box's modal loop inside the code under test.
class TMessageBoxCloser {
public:
  explicit TMessageBoxCloser(DWORD timeoutMs = kDefaultDeadlineMs)
      : FThread([this, timeoutMs] { Watch(timeoutMs); }) {}
  ~TMessageBoxCloser() { Join(); }
  TMessageBoxCloser(const TMessageBoxCloser&) = delete;
  TMessageBoxCloser& operator=(const TMessageBoxCloser&) = delete;

  // Waits for the watcher to finish; then Found() and Text() are final.
  void Join() {
    if (FThread.joinable()) {
      FStop = true;
      FThread.join();
    }
  }
  bool Found() const { return FFound; }
  // The texts of the box's static children, joined by "\n".
  const std::wstring& Text() const { return FText; }
  // Where the box was and what it held: its window on the screen, its client area, and each
  // child with its class, text and bounds in the client area.
  struct TPart {
    std::wstring ClassName, Text;
    RECT Bounds{};
  };
  const RECT& Window() const { return FWindow; }
  const RECT& Client() const { return FClient; }
  const std::vector<TPart>& Parts() const { return FParts; }

private:
  static HWND FindBox() {
    struct TSearch {
      DWORD Process;
      HWND Box;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<TSearch*>(data);
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          wchar_t className[64] = {};
          GetClassNameW(window, className, 64);
          if (process == s.Process && lstrcmpW(className, L"ReplimarMessage") == 0 &&
              IsWindowVisible(window)) {
            s.Box = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Box;
  }

  void Watch(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    // Once Join is called the box had its chance: a short grace, then give up.
    ULONGLONG stopAt = 0;
    for (;;) {
      if (HWND box = FindBox()) {
        std::wstring text;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM data) -> BOOL {
              wchar_t className[32] = {};
              GetClassNameW(child, className, 32);
              if (lstrcmpiW(className, L"Static") == 0) {
                wchar_t buffer[1024] = {};
                GetWindowTextW(child, buffer, 1024);
                auto& out = *reinterpret_cast<std::wstring*>(data);
                if (buffer[0]) out += (out.empty() ? L"" : L"\n") + std::wstring(buffer);
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&text));
        FText = text;
        Measure(box);
        FFound = true;
        PostMessageW(box, WM_CLOSE, 0, 0);
        return;
      }
      const ULONGLONG now = GetTickCount64();
      if (FStop && stopAt == 0) stopAt = now + 200;
      if (now >= deadline || (stopAt && now >= stopAt)) return;
      Sleep(20);
    }
  }

  void Measure(HWND box) {
    GetWindowRect(box, &FWindow);
    GetClientRect(box, &FClient);
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
          auto& self = *reinterpret_cast<TMessageBoxCloser*>(data);
          TPart part;
          wchar_t buffer[1024] = {};
          GetClassNameW(child, buffer, 1024);
          part.ClassName = buffer;
          buffer[0] = 0;
          GetWindowTextW(child, buffer, 1024);
          part.Text = buffer;
          GetWindowRect(child, &part.Bounds);
          MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&part.Bounds), 2);
          self.FParts.push_back(part);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
  }

  std::atomic<bool> FStop{false};
  std::atomic<bool> FFound{false};
  std::wstring FText;
  RECT FWindow{}, FClient{};
  std::vector<TPart> FParts;
  std::thread FThread;
};

} // namespace wintest
