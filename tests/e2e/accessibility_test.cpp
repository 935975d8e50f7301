// What a screen reader finds in the window, asked from this process as Narrator and NVDA ask
// (AccessibleObjectFromWindow, WinEvent hooks): the gauge is a progress bar with its
// percentage as value and tells when it changes, the log pane is a text named "Log", every
// control that takes the focus has a name, and a reader that holds the objects past the close
// neither keeps the program alive nor brings it down.
#include "tests/e2e/FaultSupport.h"
#include "tests/AccessibleAsk.h"
#include "widgets/ComPtr.h"
#include <oleacc.h>
#include <chrono>
#include <gtest/gtest.h>

namespace {

using namespace accessibleask;
using namespace e2e;

// COM for the test's thread, as a reader has it.
class TComScope {
public:
  TComScope() : FStarted(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComScope() {
    if (FStarted) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

private:
  bool FStarted;
};

TComPtr<IAccessible> ClientObject(HWND window) {
  TComPtr<IAccessible> object;
  const HRESULT result =
      AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object));
  EXPECT_TRUE(SUCCEEDED(result)) << std::hex << result;
  return object;
}

std::wstring Name(IAccessible* object) {
  return Ask(object, &IAccessible::get_accName).Text;
}
std::wstring Value(IAccessible* object) {
  return Ask(object, &IAccessible::get_accValue).Text;
}

// The value-change events of one process that a reader's hook has seen.
struct TSeenEvent {
  HWND Window;
  LONG Object, Child;
};
std::vector<TSeenEvent> gSeen;

void CALLBACK OnValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                            DWORD) {
  gSeen.push_back({window, object, child});
}

// Waits while handing this thread's messages on, which bring an out-of-context hook its events.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&msg);
  }
  return true;
}

class Accessibility : public TMirrorTest {
protected:
  TComScope FCom;
};

TEST_F(Accessibility, TheGaugeIsAProgressBarAndThePaneATextNamedLog) {
  StartProgram();
  TComPtr<IAccessible> gauge = ClientObject(FApp->Gauge());
  ASSERT_TRUE(gauge);
  EXPECT_EQ(Role(gauge.Get()), ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(Name(gauge.Get()), L"Progresso");
  EXPECT_EQ(Value(gauge.Get()), L"0%");

  TComPtr<IAccessible> pane = ClientObject(FApp->LogPane());
  ASSERT_TRUE(pane);
  EXPECT_EQ(Role(pane.Get()), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Name(pane.Get()), L"Log");

  // After a run the gauge's value follows what it shows, and the pane's value is its text.
  WriteFile(FSource + L"\\um.txt", "1");
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  ASSERT_TRUE(WaitFor([&] { return FApp->GaugeText() == L"100%"; }, kStartTimeout))
      << Utf8(FApp->GaugeText());
  EXPECT_EQ(Value(gauge.Get()), L"100%");
  const std::wstring text = Value(pane.Get());
  EXPECT_NE(text.find(kStarting), std::wstring::npos) << Utf8(text);
  EXPECT_EQ(Name(pane.Get()), L"Log");
  EXPECT_EQ(FApp->Close(), 0u);
}

TEST_F(Accessibility, EveryControlThatTakesTheFocusHasAName) {
  StartProgram();
  size_t focusable = 0;
  for (HWND window : Descendants(FApp->MainWindow())) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (!(style & WS_TABSTOP) || !IsWindowVisible(window)) continue;
    ++focusable;
    TComPtr<IAccessible> object = ClientObject(window);
    ASSERT_TRUE(object) << Utf8(ClassOf(window));
    const std::wstring name = Name(object.Get());
    EXPECT_FALSE(name.empty()) << Utf8(ClassOf(window)) << " " << Utf8(WindowText(window));
  }
  // The two folder buttons, the tick box, the four lists, the pane and the three buttons.
  EXPECT_EQ(focusable, 11u);
  // The lists are told apart by their names.
  EXPECT_EQ(Name(ClientObject(FApp->SourceDirectoryList()).Get()), L"Pasta origem");
  EXPECT_EQ(Name(ClientObject(FApp->DestinationDirectoryList()).Get()), L"Pasta destino");
  EXPECT_EQ(Name(ClientObject(FApp->SourceFileList()).Get()), L"Arquivos da pasta origem");
  EXPECT_EQ(Name(ClientObject(FApp->DestinationFileList()).Get()), L"Arquivos da pasta destino");
}

TEST_F(Accessibility, AReadersHookSeesTheGaugesValueChangeDuringARun) {
  for (int i = 0; i < 4; ++i)
    WriteFile(FSource + L"\\f" + std::to_wstring(i) + L".txt", std::string(100, 'x'));
  StartProgram();
  gSeen.clear();
  // Out of context, for the program's process only; its events come as messages to this
  // thread.
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                       OnValueChange, FApp->ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  const HWND gaugeWindow = FApp->Gauge();
  const auto seenFromGauge = [&] {
    for (const TSeenEvent& seen : gSeen)
      if (seen.Window == gaugeWindow && seen.Object == OBJID_CLIENT && seen.Child == CHILDID_SELF)
        return true;
    return false;
  };
  ASSERT_TRUE(FApp->Click(FApp->Button(kSyncNow)));
  EXPECT_TRUE(PumpUntil(seenFromGauge, kStartTimeout)) << gSeen.size() << " events";
  EXPECT_TRUE(PumpUntil([&] { return FApp->GaugeText() == L"100%"; }, kActionTimeout));
  // The reader that hears the event reads the new value.
  TComPtr<IAccessible> gauge = ClientObject(gaugeWindow);
  ASSERT_TRUE(gauge);
  EXPECT_EQ(Value(gauge.Get()), L"100%");
  UnhookWinEvent(hook);
  EXPECT_EQ(FApp->Close(), 0u);
}

TEST_F(Accessibility, AReaderHoldingTheObjectsPastTheCloseGetsErrorsNotACrash) {
  StartProgram();
  TComPtr<IAccessible> gauge = ClientObject(FApp->Gauge());
  TComPtr<IAccessible> pane = ClientObject(FApp->LogPane());
  ASSERT_TRUE(gauge && pane);
  ASSERT_EQ(Value(gauge.Get()), L"0%");
  ASSERT_EQ(Name(pane.Get()), L"Log");
  // The program ends normally although a reader still holds its objects.
  EXPECT_EQ(FApp->Close(), 0u);
  EXPECT_TRUE(FAILED(Ask(gauge.Get(), &IAccessible::get_accValue).Result));
  EXPECT_TRUE(FAILED(Ask(pane.Get(), &IAccessible::get_accName).Result));
  gauge.Reset();
  pane.Reset();
}

} // namespace
