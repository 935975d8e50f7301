#pragma once
// Drives the real program as an operator would: starts it, finds its window and widgets in the
// window tree, reads what they show, clicks, closes, and waits for each effect with a deadline.
#include "funcoes/Handles.h"
#include <windows.h>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// Starting the program under Wine takes a few seconds; these limits leave room for a slow host.
constexpr std::chrono::milliseconds kStartTimeout = 20s;
constexpr std::chrono::milliseconds kActionTimeout = 10s;
constexpr std::chrono::milliseconds kExitTimeout = 20s;

inline constexpr wchar_t kMainCaption[] = L"Replica\u00e7\u00e3o diferencial de dados KORVELL";
inline constexpr wchar_t kMainClass[] = L"TFrmReplimar";
inline constexpr wchar_t kMessageCaption[] = L"Replimar KORVELL";
inline constexpr wchar_t kMessageClass[] = L"ReplimarMessage";
inline constexpr wchar_t kPanelClass[] = L"ReplimarPanel";
inline constexpr wchar_t kGaugeClass[] = L"ReplimarGauge";

// Polls condition every 50 ms until it holds or timeout has passed; true when it held.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// The DPI the run expects the program to use: REPLIMAR_EXPECT_DPI, or 96.
int ExpectedDpi();
// A length of the layout at 96 dpi, at dpi.
inline int ScaledLength(int value, int dpi) {
  return MulDiv(value, dpi, 96);
}

// Window text through WM_GETTEXT (also for edit controls of another process).
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// Direct children, first created first.
std::vector<HWND> ChildrenOf(HWND parent);
// Every descendant of root, depth first, each parent before its children.
std::vector<HWND> Descendants(HWND root);
// Descendants of root of a window class (and with that text, when text is given), in tree order.
std::vector<HWND> FindAll(HWND root, const std::wstring& className,
                          const std::wstring* text = nullptr);
// Direct children of parent of a window class, first created first.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className);
// The rows of a list box through LB_GETTEXT.
std::vector<std::wstring> ListItems(HWND listBox);
// Bounds relative to the client area of the parent window (screen bounds for a top-level one).
RECT BoundsInParent(HWND window);
// BM_GETCHECK of a button or tick box.
int CheckState(HWND button);
// The text of a message box or error report: the text of its non-empty STATIC children.
std::wstring MessageText(HWND box);
// Its "OK" button (null when missing).
HWND MessageOkButton(HWND box);

// What one window of the tree shows: enough to tell whether anything visible changed.
struct TWidgetState {
  HWND Window = nullptr;
  std::wstring ClassName;
  std::wstring Text;
  RECT Bounds{};
  bool Visible = false;
  bool Enabled = false;
  int Check = 0;
  std::vector<std::wstring> Items;
  bool operator==(const TWidgetState& other) const;
};
// The state of root and of every window below it, in tree order.
std::vector<TWidgetState> Snapshot(HWND root);
// For GoogleTest's messages.
std::string Utf8(const std::wstring& text);
void PrintTo(const TWidgetState& state, std::ostream* out);

// Removes a folder and everything in it.
void RemoveTree(const std::wstring& folder);
// Deletes the two stored folders, as on a first start: a folder a test stored and then removed
// would make the next program's show report it.
void ForgetStoredFolders();

enum class TStartWait { ForMainWindow, ForProcessOnly };

// One running copy of the program. Each test starts its own; the destructor ends a copy that
// is still running and removes the working folder.
class TOperator {
public:
  // Starts the program with a fresh temporary folder as its current folder and waits until its
  // main window is visible (the test fails through the returned flag of Started()).
  // With TStartWait::ForProcessOnly it returns once the process runs (for a start-up that
  // shows a box before the window); AdoptMainWindow then finds the window.
  explicit TOperator(std::wstring exePath, TStartWait wait = TStartWait::ForMainWindow);
  // Waits for the visible main window of a program started with ForProcessOnly.
  bool AdoptMainWindow(std::chrono::milliseconds timeout = kStartTimeout);
  ~TOperator();
  TOperator(const TOperator&) = delete;
  TOperator& operator=(const TOperator&) = delete;

  // True once the main window was found visible; Failure() says why not.
  bool Started() const { return FMainWindow != nullptr; }
  const std::wstring& Failure() const { return FFailure; }
  DWORD ProcessId() const { return FProcessId; }
  HANDLE Process() const { return FProcess.Get(); }
  const std::wstring& WorkFolder() const { return FWorkFolder; }
  HWND MainWindow() const { return FMainWindow; }
  bool Running() const;

  // Widgets of the main window (null when missing).
  HWND UpperPanel() const;  // PanelPastas
  HWND HeaderPanel() const; // PanelSuperior, inside PanelPastas
  HWND MiddlePanel() const; // PanelFiles
  HWND SourceDirectoryList() const;
  HWND DestinationDirectoryList() const;
  HWND SourceFileList() const;
  HWND DestinationFileList() const;
  HWND Gauge() const;
  HWND LogPane() const;
  // First descendant of the main window of that class and text.
  HWND Find(const std::wstring& className, const std::wstring& text) const;
  HWND Button(const std::wstring& text) const { return Find(L"BUTTON", text); }
  HWND Label(const std::wstring& text) const { return Find(L"STATIC", text); }

  std::wstring LogText() const { return WindowText(LogPane()); }
  std::wstring GaugeText() const { return WindowText(Gauge()); }

  // The thread of the program's window, and the window that has the keyboard focus there.
  DWORD ThreadId() const;
  HWND FocusedWindow() const;
  // Presses and releases a key the way a keyboard delivers it: WM_KEYDOWN, then WM_KEYUP,
  // queued to the window that has the focus and dispatched by the program's own message loop.
  // Shift and Ctrl are held in the program's keyboard state (shared with this thread for the
  // press) and their own key messages are queued around the key's. Returns once the program
  // has handled the messages; false when a message could not be queued or was not handled in
  // time (the program ended, or hangs).
  enum TModifier : unsigned { kNoModifier = 0, kShift = 1, kControl = 2 };
  bool PressKey(UINT key, unsigned modifiers = kNoModifier) const;
  // Waits until the program has handled every message queued to it so far: a marker queued
  // behind them (the log pane's modified flag, which nothing else uses) is seen handled.
  bool Settle() const;

  // Posts a click and returns at once: for a button whose handler may run for long (a mirror
  // run loops inside its click handler).
  bool Click(HWND button) const;
  // Clicks and returns when the handler has returned; false when it did not within the limit
  // (for instance because it opened a modal box).
  bool ClickAndWait(HWND button) const;

  // Visible top-level windows of the process, the main window included.
  std::vector<HWND> TopLevelWindows() const;
  // A visible top-level window of the process with that caption (and class, unless empty).
  HWND FindTopLevel(const std::wstring& caption, const std::wstring& className = L"") const;
  HWND WaitForTopLevel(const std::wstring& caption, const std::wstring& className,
                       std::chrono::milliseconds timeout) const;
  // Class, caption and texts of every visible top-level window of the process, for messages.
  std::wstring DescribeTopLevelWindows() const;

  // Asks the main window to close (WM_CLOSE) and waits for the process to end; its exit code,
  // or STILL_ACTIVE when it did not end in time.
  DWORD Close(std::chrono::milliseconds timeout = kExitTimeout);
  // Waits for the process to end on its own; exit code or STILL_ACTIVE.
  DWORD WaitForExit(std::chrono::milliseconds timeout);

private:
  std::wstring FWorkFolder;
  UniqueHandle FProcess;
  DWORD FProcessId = 0;
  HWND FMainWindow = nullptr;
  std::wstring FFailure;
};

} // namespace e2e
