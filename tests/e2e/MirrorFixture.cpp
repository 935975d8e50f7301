#include "tests/e2e/MirrorFixture.h"
#include "tests/e2e/FaultSupport.h"
#include "funcoes/ProcessTerminator.h"
#include "funcoes/RegistryValue.h"
#include "funcoes/pure/ProcessName.h"
#include <tlhelp32.h>
#include <algorithm>
#include <cwchar>
#include <vector>

namespace e2e {

std::vector<DWORD> ProcessIds(const std::wstring& name) {
  std::vector<DWORD> ids;
  UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry{sizeof(entry)};
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry))
    if (ProcessNameMatches(entry.szExeFile, name)) ids.push_back(entry.th32ProcessID);
  return ids;
}

int CountProcesses(const std::wstring& name) {
  return static_cast<int>(ProcessIds(name).size());
}

DWORD WaitForOneToolOtherThan(DWORD earlier) {
  std::vector<DWORD> ids;
  WaitFor(
      [&] {
        ids = ProcessIds(kToolImage);
        return ids.size() == 1 && ids.front() != earlier;
      },
      kActionTimeout);
  return ids.size() == 1 && ids.front() != earlier ? ids.front() : 0;
}

std::wstring ShownRow(HWND list) {
  const auto index = static_cast<size_t>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  const std::vector<std::wstring> rows = ListItems(list);
  return index < rows.size() ? rows[index] : std::wstring();
}

void DoubleClickRow(HWND list, int row) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void WriteFile(const std::wstring& path, const std::string& content) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.Valid()) << "cannot create " << Utf8(path);
  DWORD written = 0;
  ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

void AppendFile(const std::wstring& path, const std::string& bytes) {
  UniqueFileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.Valid()) << GetLastError();
  DWORD written = 0;
  ASSERT_TRUE(
      ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
}

std::string ReadFileBytes(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

std::vector<std::wstring> PaneLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

int CountLines(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

::testing::AssertionResult FocusOn(const TOperator& app, HWND target) {
  if (!target) return ::testing::AssertionFailure() << "no such widget";
  for (int i = 0; i < 12 && app.FocusedWindow() != target; ++i)
    if (!app.PressKey(VK_TAB)) return ::testing::AssertionFailure() << "Tab not handled";
  if (app.FocusedWindow() == target) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "focus is on " << Utf8(ClassOf(app.FocusedWindow()))
                                       << " \"" << Utf8(WindowText(app.FocusedWindow())) << "\"";
}

void TMirrorTest::SetUp() {
  TerminateProcessByName(L"robocopy.exe");
  // The stand-in's "minute" is shortened so that its monitoring passes come quickly.
  SetEnvironmentVariableW(L"REPLIMAR_STANDIN_MINUTE_MS", L"200");
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  FRoot = std::wstring(temp) + L"replimar-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64());
  FSource = FRoot + L"\\origem";
  FDestination = FRoot + L"\\destino";
  ASSERT_TRUE(CreateDirectoryW(FRoot.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(FSource.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(FDestination.c_str(), nullptr));
  RegistryValue(L"escrever", L"storage_Origem", FSource);
  RegistryValue(L"escrever", L"storage_Destino", FDestination);
}

void TMirrorTest::TearDown() {
  if (FApp && FApp->Running()) FApp->Close();
  FApp.reset();
  TerminateProcessByName(L"robocopy.exe");
  WaitFor([] { return CountProcesses(L"robocopy.exe") == 0; }, kExitTimeout);
  RemoveTree(FRoot);
  ForgetStoredFolders();
}

namespace {

// Whether both folder lists show a folder: a list whose folder has not answered yet shows one
// row that says it waits, and the lists fill after the window shows.
bool FolderListsShown(const TOperator& app) {
  for (const HWND list : {app.SourceDirectoryList(), app.DestinationDirectoryList()}) {
    const std::vector<std::wstring> rows = ListItems(list);
    if (rows.empty() || rows.front().rfind(L"Aguardando resposta de ", 0) == 0) return false;
  }
  return true;
}

} // namespace

void TMirrorTest::StartProgram() {
  FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH);
  ASSERT_TRUE(FApp->Started()) << Utf8(FApp->Failure());
  // The operator acts once the lists show their folders (a test of a list that goes on waiting
  // looks at it itself).
  WaitFor([&] { return FolderListsShown(*FApp); }, kActionTimeout);
}

namespace {

// The program's visible main window, found by the caption the system keeps for a window of
// another process (GetWindowTextW sends that process no message).
HWND ShownMainWindow(const TOperator& app) {
  for (HWND window : app.TopLevelWindows()) {
    wchar_t caption[128] = {};
    if (GetWindowTextW(window, caption, 128) > 0 && std::wcscmp(caption, kMainCaption) == 0)
      return window;
  }
  return nullptr;
}

} // namespace

long long MillisecondsSinceCreation(HANDLE process) {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return (ticks(now) - ticks(created)) / 10000;
}

long long TMirrorTest::StartProgramTimed(std::chrono::milliseconds timeout) {
  FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH, TStartWait::ForProcessOnly);
  long long shownAfter = -1;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (FApp->Running() && std::chrono::steady_clock::now() < deadline) {
    if (ShownMainWindow(*FApp)) {
      shownAfter = MillisecondsSinceCreation(FApp->Process());
      break;
    }
    Sleep(5);
  }
  EXPECT_TRUE(FApp->AdoptMainWindow(std::chrono::milliseconds(1000)))
      << "no visible main window within " << timeout.count()
      << " ms; windows: " << Utf8(FApp->DescribeTopLevelWindows());
  return shownAfter;
}

std::wstring TMirrorTest::StartThroughReport() {
  FApp = std::make_unique<TOperator>(REPLIMAR_EXE_PATH, TStartWait::ForProcessOnly);
  std::wstring text;
  HWND main = nullptr;
  HWND box = nullptr;
  EXPECT_TRUE(WaitFor(
      [&] {
        box = FApp->FindTopLevel(kMessageCaption, kMessageClass);
        main = FApp->FindTopLevel(kMainCaption, kMainClass);
        return box || main || !FApp->Running();
      },
      kStartTimeout));
  if (box) {
    text = MessageText(box);
    PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
  }
  EXPECT_TRUE(FApp->AdoptMainWindow()) << "the window opens all the same";
  return text;
}

void TMirrorTest::ChooseInDialog(const std::wstring& button, const std::wstring& typed,
                                 const std::wstring& dialogButton) {
  ASSERT_TRUE(FApp->Click(FApp->Button(button)));
  const HWND dialog = FApp->WaitForTopLevel(kFolderDialogCaption, L"", kStartTimeout);
  ASSERT_NE(dialog, nullptr) << "the folder dialog did not open; windows: "
                             << Utf8(FApp->DescribeTopLevelWindows());
  if (!typed.empty()) {
    const auto edits = FindAll(dialog, L"Edit");
    ASSERT_FALSE(edits.empty());
    SendMessageW(edits.front(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  }
  const auto buttons = FindAll(dialog, L"Button", &dialogButton);
  ASSERT_FALSE(buttons.empty()) << "no button " << Utf8(dialogButton);
  PostMessageW(buttons.front(), BM_CLICK, 0, 0);
  ASSERT_TRUE(
      WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kActionTimeout));
}

std::wstring TMirrorTest::LogPath() const {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"robocopy_log.txt";
}

void TMirrorTest::ExpectRunRefused(const std::wstring& refusal) {
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  const HWND box = FApp->WaitForTopLevel(kMessageCaption, kMessageClass, kActionTimeout);
  ASSERT_NE(box, nullptr) << "no refusal; pane: " << Utf8(FApp->LogText());
  EXPECT_EQ(MessageText(box), refusal);
  PostMessageW(MessageOkButton(box), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kActionTimeout));
  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog))); // the run's handler has ended
  EXPECT_EQ(CountProcesses(L"robocopy.exe"), 0) << "a tool was started";
}

std::wstring TMirrorTest::StartRun() {
  const auto commands = [&] {
    std::vector<std::wstring> found;
    for (const std::wstring& line : PaneLines(FApp->LogText()))
      if (line.rfind(L"Comando: ", 0) == 0) found.push_back(line);
    return found;
  };
  const size_t before = commands().size();
  EXPECT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  std::vector<std::wstring> after;
  EXPECT_TRUE(WaitFor(
      [&] {
        after = commands();
        return after.size() > before;
      },
      kActionTimeout))
      << Utf8(FApp->LogText()) << Utf8(FApp->DescribeTopLevelWindows());
  return after.size() > before ? after.back() : std::wstring();
}

DWORD TMirrorTest::StartNestedRuns() {
  WriteFile(FSource + L"\\a.txt", "a");
  StartProgram();
  EXPECT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  EXPECT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kStarting) == 1; },
                      kActionTimeout));
  const DWORD outer = WaitForOneToolOtherThan(0);
  EXPECT_NE(outer, 0u);
  EXPECT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  EXPECT_TRUE(WaitFor([&] { return CountLines(PaneLines(FApp->LogText()), kStarting) == 2; },
                      kActionTimeout));
  return WaitForOneToolOtherThan(outer);
}

void TMirrorTest::CancelDialog(const std::wstring& button) {
  ChooseInDialog(button, L"", L"Cancel");
  ASSERT_TRUE(FApp->ClickAndWait(FApp->Button(kClearLog)));
}

} // namespace e2e
