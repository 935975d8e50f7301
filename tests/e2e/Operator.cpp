#include "tests/e2e/Operator.h"
#include "funcoes/SystemText.h"
#include "funcoes/pure/PathText.h"
#include "widgets/Dpi.h"
#include <algorithm>
#include <atomic>
#include <cwchar>
#include <mutex>
#include <thread>

namespace e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;

// Reading another process's windows must not be rescaled: the test sees physical pixels, as
// the program does.
void BeDpiAware() {
  static std::once_flag once;
  std::call_once(once, [] { EnablePerMonitorDpiAwareness(); });
}

// A class name without the side-by-side version prefix ("6.0.x!Button" is "Button").
std::wstring PlainClassName(std::wstring name) {
  const size_t bang = name.rfind(L'!');
  return bang == std::wstring::npos ? name : name.substr(bang + 1);
}

bool SameText(const std::wstring& a, const std::wstring& b, bool ignoreCase) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), ignoreCase) == CSTR_EQUAL;
}

bool Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR& result,
          UINT timeoutMs = kSendTimeoutMs) {
  return SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result) !=
         0;
}

std::wstring NewWorkFolder() {
  static std::atomic<int> counter{0};
  // Not under TMP: some tests start the program with a TMP of their own making.
  const std::wstring base = L"C:\\replimar_e2e_work\\";
  CreateDirectoryW(base.c_str(), nullptr);
  for (;;) {
    const std::wstring folder = base + L"replimar_e2e_" + std::to_wstring(GetCurrentProcessId()) +
                                L"_" + std::to_wstring(counter++);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

} // namespace

void ForgetStoredFolders() {
  for (const wchar_t* name : {L"storage_Origem", L"storage_Destino"})
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Zelvora\\REPLIMAR", name);
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileW(LongPathForm(folder + L"\\*").c_str(), &entry));
  if (find) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(LongPathForm(path).c_str());
    } while (FindNextFileW(find.Get(), &entry));
  }
  RemoveDirectoryW(LongPathForm(folder).c_str());
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
}

int ExpectedDpi() {
  wchar_t value[16] = {};
  const DWORD length = GetEnvironmentVariableW(L"REPLIMAR_EXPECT_DPI", value, 16);
  if (length == 0 || length >= 16) return 96;
  const int dpi = _wtoi(value);
  return dpi > 0 ? dpi : 96;
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!window || !Send(window, WM_GETTEXTLENGTH, 0, 0, length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied))
    return {};
  text.resize(std::min<size_t>(copied, length));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return PlainClassName(std::wstring(name, static_cast<size_t>(length > 0 ? length : 0)));
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> all;
  for (HWND child : ChildrenOf(root)) {
    all.push_back(child);
    const std::vector<HWND> below = Descendants(child);
    all.insert(all.end(), below.begin(), below.end());
  }
  return all;
}

std::vector<HWND> FindAll(HWND root, const std::wstring& className, const std::wstring* text) {
  std::vector<HWND> found;
  for (HWND window : Descendants(root)) {
    if (!SameText(ClassOf(window), className, true)) continue;
    if (text && !SameText(WindowText(window), *text, false)) continue;
    found.push_back(window);
  }
  return found;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className) {
  std::vector<HWND> found;
  for (HWND child : ChildrenOf(parent))
    if (SameText(ClassOf(child), className, true)) found.push_back(child);
  return found;
}

std::vector<std::wstring> ListItems(HWND listBox) {
  std::vector<std::wstring> items;
  DWORD_PTR count = 0;
  if (!Send(listBox, LB_GETCOUNT, 0, 0, count) || static_cast<LRESULT>(count) == LB_ERR)
    return items;
  for (WPARAM i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    if (!Send(listBox, LB_GETTEXTLEN, i, 0, length) || static_cast<LRESULT>(length) == LB_ERR)
      break;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!Send(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()), copied) ||
        static_cast<LRESULT>(copied) == LB_ERR)
      break;
    text.resize(std::min<size_t>(copied, length));
    items.push_back(std::move(text));
  }
  return items;
}

RECT BoundsInParent(HWND window) {
  BeDpiAware();
  RECT bounds{};
  GetWindowRect(window, &bounds);
  HWND parent = GetAncestor(window, GA_PARENT);
  if (parent && parent != GetDesktopWindow())
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

int CheckState(HWND button) {
  DWORD_PTR state = 0;
  return Send(button, BM_GETCHECK, 0, 0, state) ? static_cast<int>(state) : -1;
}

std::wstring MessageText(HWND box) {
  std::wstring text;
  for (HWND child : FindAll(box, L"STATIC")) {
    const std::wstring part = WindowText(child);
    if (part.empty()) continue;
    if (!text.empty()) text += L"\n";
    text += part;
  }
  return text;
}

HWND MessageOkButton(HWND box) {
  const std::wstring ok = L"OK";
  const auto found = FindAll(box, L"BUTTON", &ok);
  return found.empty() ? nullptr : found.front();
}

bool TWidgetState::operator==(const TWidgetState& other) const {
  return Window == other.Window && ClassName == other.ClassName && Text == other.Text &&
         EqualRect(&Bounds, &other.Bounds) && Visible == other.Visible &&
         Enabled == other.Enabled && Check == other.Check && Items == other.Items;
}

std::vector<TWidgetState> Snapshot(HWND root) {
  BeDpiAware();
  std::vector<HWND> windows{root};
  const std::vector<HWND> below = Descendants(root);
  windows.insert(windows.end(), below.begin(), below.end());
  std::vector<TWidgetState> states;
  for (HWND window : windows) {
    TWidgetState state;
    state.Window = window;
    state.ClassName = ClassOf(window);
    state.Text = WindowText(window);
    GetWindowRect(window, &state.Bounds);
    state.Visible = IsWindowVisible(window) != FALSE;
    state.Enabled = IsWindowEnabled(window) != FALSE;
    if (SameText(state.ClassName, L"BUTTON", true)) state.Check = CheckState(window);
    if (SameText(state.ClassName, L"LISTBOX", true)) state.Items = ListItems(window);
    states.push_back(std::move(state));
  }
  return states;
}

std::string Utf8(const std::wstring& text) {
  return ToUtf8(text);
}

void PrintTo(const TWidgetState& state, std::ostream* out) {
  *out << Utf8(state.ClassName) << " \"" << Utf8(state.Text) << "\" at (" << state.Bounds.left
       << "," << state.Bounds.top << ")-(" << state.Bounds.right << "," << state.Bounds.bottom
       << ")" << (state.Visible ? " visible" : " hidden") << (state.Enabled ? "" : " disabled")
       << " check " << state.Check << " rows " << state.Items.size();
}

TOperator::TOperator(std::wstring exePath, TStartWait wait) {
  BeDpiAware();
  FWorkFolder = NewWorkFolder();
  if (FWorkFolder.empty()) {
    FFailure = L"cannot create a working folder, error " + std::to_wstring(GetLastError());
    return;
  }
  std::wstring commandLine = L"\"" + exePath + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      FWorkFolder.c_str(), &startup, &info)) {
    FFailure = L"CreateProcessW " + exePath + L" failed, error " + std::to_wstring(GetLastError());
    return;
  }
  FProcess.Reset(info.hProcess);
  UniqueHandle thread(info.hThread);
  FProcessId = info.dwProcessId;

  if (wait == TStartWait::ForProcessOnly) return;
  HWND found = nullptr;
  const bool shown = WaitFor(
      [&] {
        found = FindTopLevel(kMainCaption, kMainClass);
        return found != nullptr || !Running();
      },
      kStartTimeout);
  if (shown && found) {
    FMainWindow = found;
  } else if (!Running()) {
    DWORD code = 0;
    GetExitCodeProcess(FProcess.Get(), &code);
    FFailure = L"the program ended before showing its window, exit code " + std::to_wstring(code);
  } else {
    FFailure = L"no visible main window within the start limit; windows shown: " +
               DescribeTopLevelWindows();
  }
}

TOperator::~TOperator() {
  if (Running()) {
    TerminateProcess(FProcess.Get(), 1);
    WaitForSingleObject(FProcess.Get(), static_cast<DWORD>(kExitTimeout.count()));
  }
  FProcess.Reset();
  if (!FWorkFolder.empty()) RemoveTree(FWorkFolder);
}

bool TOperator::Running() const {
  return FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT;
}

HWND TOperator::UpperPanel() const {
  const auto panels = ChildrenOfClass(FMainWindow, kPanelClass);
  return panels.size() >= 1 ? panels[0] : nullptr;
}

HWND TOperator::MiddlePanel() const {
  const auto panels = ChildrenOfClass(FMainWindow, kPanelClass);
  return panels.size() >= 2 ? panels[1] : nullptr;
}

HWND TOperator::HeaderPanel() const {
  HWND upper = UpperPanel();
  const auto panels = upper ? ChildrenOfClass(upper, kPanelClass) : std::vector<HWND>{};
  return panels.empty() ? nullptr : panels[0];
}

namespace {
HWND NthList(HWND panel, size_t index) {
  const auto lists = panel ? ChildrenOfClass(panel, L"LISTBOX") : std::vector<HWND>{};
  return index < lists.size() ? lists[index] : nullptr;
}
} // namespace

HWND TOperator::SourceDirectoryList() const {
  return NthList(UpperPanel(), 0);
}
HWND TOperator::DestinationDirectoryList() const {
  return NthList(UpperPanel(), 1);
}
HWND TOperator::SourceFileList() const {
  return NthList(MiddlePanel(), 0);
}
HWND TOperator::DestinationFileList() const {
  return NthList(MiddlePanel(), 1);
}

HWND TOperator::Gauge() const {
  const auto found = FindAll(FMainWindow, kGaugeClass);
  return found.empty() ? nullptr : found.front();
}

HWND TOperator::LogPane() const {
  const auto found = FindAll(FMainWindow, L"EDIT");
  return found.empty() ? nullptr : found.front();
}

HWND TOperator::Find(const std::wstring& className, const std::wstring& text) const {
  const auto found = FindAll(FMainWindow, className, &text);
  return found.empty() ? nullptr : found.front();
}

namespace {

// The lParam of a key message: one press, the key's scan code, the extended flag of the
// navigation keys, and for a release the previous-state and transition bits.
LPARAM KeyData(UINT key, bool release) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC) & 0xFF;
  auto data = static_cast<LPARAM>(1 | (scan << 16));
  switch (key) {
  case VK_LEFT:
  case VK_RIGHT:
  case VK_UP:
  case VK_DOWN:
  case VK_HOME:
  case VK_END:
  case VK_PRIOR:
  case VK_NEXT:
  case VK_INSERT:
  case VK_DELETE:
    data |= static_cast<LPARAM>(1) << 24;
    break;
  }
  if (release) data |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
  return data;
}

// Shift and Ctrl held down in the keyboard state of another thread: this thread shares that
// thread's input state for as long as the object lives.
class THeldModifiers {
public:
  THeldModifiers(DWORD thread, unsigned modifiers) : FThread(thread), FModifiers(modifiers) {
    if (!FModifiers) return;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // this thread needs a message queue
    FAttached = AttachThreadInput(GetCurrentThreadId(), FThread, TRUE) != FALSE;
    if (FAttached) Hold(true);
  }
  ~THeldModifiers() {
    if (!FAttached) return;
    Hold(false);
    AttachThreadInput(GetCurrentThreadId(), FThread, FALSE);
  }
  THeldModifiers(const THeldModifiers&) = delete;
  THeldModifiers& operator=(const THeldModifiers&) = delete;
  bool Ready() const { return !FModifiers || FAttached; }

private:
  void Hold(bool down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    const BYTE value = down ? 0x80 : 0;
    if (FModifiers & TOperator::kShift) state[VK_SHIFT] = state[VK_LSHIFT] = value;
    if (FModifiers & TOperator::kControl) state[VK_CONTROL] = state[VK_LCONTROL] = value;
    SetKeyboardState(state);
  }
  DWORD FThread;
  unsigned FModifiers;
  bool FAttached = false;
};

} // namespace

DWORD TOperator::ThreadId() const {
  return FMainWindow ? GetWindowThreadProcessId(FMainWindow, nullptr) : 0;
}

HWND TOperator::FocusedWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(ThreadId(), &info) ? info.hwndFocus : nullptr;
}

bool TOperator::Settle() const {
  const HWND pane = LogPane();
  DWORD_PTR result = 0;
  if (!pane || !Send(pane, EM_SETMODIFY, FALSE, 0, result)) return false;
  if (!PostMessageW(pane, EM_SETMODIFY, TRUE, 0)) return false;
  return WaitFor(
      [&] {
        DWORD_PTR modified = 0;
        return Send(pane, EM_GETMODIFY, 0, 0, modified) && modified != 0;
      },
      kActionTimeout);
}

bool TOperator::PressKey(UINT key, unsigned modifiers) const {
  const HWND target = FocusedWindow();
  if (!target) return false;
  THeldModifiers held(ThreadId(), modifiers);
  if (!held.Ready()) return false;
  const auto post = [](HWND window, UINT msg, UINT vk) {
    return PostMessageW(window, msg, vk, KeyData(vk, msg == WM_KEYUP)) != FALSE;
  };
  bool queued = true;
  if (modifiers & kControl) queued = post(target, WM_KEYDOWN, VK_CONTROL) && queued;
  if (modifiers & kShift) queued = post(target, WM_KEYDOWN, VK_SHIFT) && queued;
  queued = post(target, WM_KEYDOWN, key) && queued;
  // The key goes up where the focus is after its press (Tab has moved it), as on a keyboard.
  if (!Settle()) return false;
  HWND releaseTarget = FocusedWindow();
  if (!releaseTarget) releaseTarget = target;
  queued = post(releaseTarget, WM_KEYUP, key) && queued;
  if (modifiers & kShift) queued = post(releaseTarget, WM_KEYUP, VK_SHIFT) && queued;
  if (modifiers & kControl) queued = post(releaseTarget, WM_KEYUP, VK_CONTROL) && queued;
  return Settle() && queued;
}

bool TOperator::Click(HWND button) const {
  return button && PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool TOperator::ClickAndWait(HWND button) const {
  DWORD_PTR result = 0;
  return button && SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL,
                                       static_cast<UINT>(kActionTimeout.count()), &result) != 0;
}

std::vector<HWND> TOperator::TopLevelWindows() const {
  struct TSearch {
    DWORD ProcessId;
    std::vector<HWND> Found;
  } search{FProcessId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<TSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.ProcessId && IsWindowVisible(window)) s.Found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND TOperator::FindTopLevel(const std::wstring& caption, const std::wstring& className) const {
  for (HWND window : TopLevelWindows()) {
    if (!className.empty() && !SameText(ClassOf(window), className, true)) continue;
    if (SameText(WindowText(window), caption, false)) return window;
  }
  return nullptr;
}

HWND TOperator::WaitForTopLevel(const std::wstring& caption, const std::wstring& className,
                                std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindTopLevel(caption, className)) != nullptr; }, timeout);
  return found;
}

std::wstring TOperator::DescribeTopLevelWindows() const {
  std::wstring description;
  for (HWND window : TopLevelWindows()) {
    if (!description.empty()) description += L"; ";
    description += ClassOf(window) + L" \"" + WindowText(window) + L"\"";
    const std::wstring text = MessageText(window);
    if (!text.empty()) description += L" saying \"" + text + L"\"";
  }
  return description.empty() ? L"none" : description;
}

DWORD TOperator::Close(std::chrono::milliseconds timeout) {
  if (Running() && FMainWindow) PostMessageW(FMainWindow, WM_CLOSE, 0, 0);
  return WaitForExit(timeout);
}

DWORD TOperator::WaitForExit(std::chrono::milliseconds timeout) {
  if (!FProcess) return STILL_ACTIVE;
  if (WaitForSingleObject(FProcess.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(FProcess.Get(), &code);
  return code;
}

} // namespace e2e

namespace e2e {
bool TOperator::AdoptMainWindow(std::chrono::milliseconds timeout) {
  return WaitFor(
      [&] {
        FMainWindow = FindTopLevel(kMainCaption, kMainClass);
        return FMainWindow != nullptr;
      },
      timeout);
}
} // namespace e2e
