// The widgets' accessible objects, asked in this process as a reader asks
// (AccessibleObjectFromWindow): the gauge as a progress bar with its percentage as value and an
// event when that changes, the log pane and the lists as the system's objects with names of
// their own, and every object disconnected, not dangling, once its window is gone.
#include "WinTestSupport.h"
#include "tests/AccessibleAsk.h"
#include "widgets/ComPtr.h"
#include "widgets/FileListBox.h"
#include "widgets/Gauge.h"
#include "widgets/Memo.h"
#include <oleacc.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace accessibleask;
using wintest::THostForm;

TComPtr<IAccessible> ClientObject(HWND window) {
  TComPtr<IAccessible> object;
  const HRESULT result =
      AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object));
  EXPECT_EQ(result, S_OK);
  return object;
}

std::vector<HWND> gValueChanges;

void CALLBACK OnValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                            DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) gValueChanges.push_back(window);
}

// Hands on this thread's pending messages, which bring an out-of-context hook its events.
void Pump() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&msg);
    Sleep(10);
  }
}

class AccessibleTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }
  THostForm FHost;
};

TEST_F(AccessibleTest, TheGaugeIsAProgressBarNamedProgressoWithItsPercentageAsValue) {
  TGauge gauge;
  gauge.SetBounds({10, 10, 200, 20});
  gauge.Create(FHost.Form());
  TComPtr<IAccessible> object = ClientObject(gauge.Handle());
  ASSERT_TRUE(object);
  EXPECT_EQ(Role(object.Get()), ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(Ask(object.Get(), &IAccessible::get_accName).Text, L"Progresso");
  EXPECT_EQ(Ask(object.Get(), &IAccessible::get_accValue).Text, L"0%");
  gauge.SetMaxValue(5);
  gauge.SetProgress(3);
  EXPECT_EQ(Ask(object.Get(), &IAccessible::get_accValue).Text, L"60%");
  // Asked again, the reader gets the same object.
  TComPtr<IAccessible> again = ClientObject(gauge.Handle());
  EXPECT_EQ(Ask(again.Get(), &IAccessible::get_accValue).Text, L"60%");
  long children = -1;
  EXPECT_EQ(object->get_accChildCount(&children), S_OK);
  EXPECT_EQ(children, 0);
  VARIANT other = Self();
  other.lVal = 1;
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(other, &name), E_INVALIDARG);
}

TEST_F(AccessibleTest, TheGaugeTellsReadersWhenItsPercentageChangesAndOnlyThen) {
  TGauge gauge;
  gauge.SetBounds({10, 10, 200, 20});
  gauge.Create(FHost.Form());
  gValueChanges.clear();
  HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnValueChange,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  gauge.SetMaxValue(1000);
  gauge.SetProgress(5); // still 0%
  Pump();
  EXPECT_TRUE(gValueChanges.empty());
  gauge.SetProgress(600); // 60%
  Pump();
  EXPECT_EQ(gValueChanges, std::vector<HWND>{gauge.Handle()});
  gauge.SetProgress(601); // 60% still
  gauge.SetMaxValue(600); // 100%
  Pump();
  EXPECT_EQ(gValueChanges, (std::vector<HWND>{gauge.Handle(), gauge.Handle()}));
  UnhookWinEvent(hook);
}

TEST_F(AccessibleTest, ThePaneIsTheSystemsTextObjectNamedLog) {
  TMemo memo;
  memo.SetBounds({10, 40, 300, 100});
  memo.Create(FHost.Form());
  memo.AddLine(L"Iniciando");
  memo.AddLine(L"fim");
  TComPtr<IAccessible> object = ClientObject(memo.Handle());
  ASSERT_TRUE(object);
  EXPECT_EQ(Ask(object.Get(), &IAccessible::get_accName).Text, L"Log");
  EXPECT_EQ(Role(object.Get()), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Ask(object.Get(), &IAccessible::get_accValue).Text, memo.Text());
}

TEST_F(AccessibleTest, AListIsTheSystemsListObjectWithTheNameItIsGiven) {
  // Two lists of the same folder, one named: the named one answers as the system's object of
  // the other (Windows: a list of the rows; Wine: a plain client area) but for its name.
  TFileListBox named, plain;
  named.SetAccessibleName(L"Arquivos da pasta origem");
  named.SetBounds({10, 150, 150, 100});
  named.Create(FHost.Form());
  plain.SetBounds({170, 150, 150, 100});
  plain.Create(FHost.Form());
  ASSERT_EQ(named.Items(), plain.Items());
  TComPtr<IAccessible> object = ClientObject(named.Handle());
  TComPtr<IAccessible> system = ClientObject(plain.Handle());
  ASSERT_TRUE(object && system);
  EXPECT_EQ(Ask(object.Get(), &IAccessible::get_accName).Text, L"Arquivos da pasta origem");
  EXPECT_NE(Ask(system.Get(), &IAccessible::get_accName).Text, L"Arquivos da pasta origem");
  EXPECT_EQ(Role(object.Get()), Role(system.Get()));
  EXPECT_NE(Role(object.Get()), -1);
  long children = -1, systemChildren = -2;
  EXPECT_EQ(object->get_accChildCount(&children), S_OK);
  EXPECT_EQ(system->get_accChildCount(&systemChildren), S_OK);
  EXPECT_EQ(children, systemChildren);
}

TEST_F(AccessibleTest, AReaderHoldingAnObjectPastItsWindowGetsNotConnected) {
  auto gauge = std::make_unique<TGauge>();
  gauge->SetBounds({10, 10, 200, 20});
  gauge->Create(FHost.Form());
  auto memo = std::make_unique<TMemo>();
  memo->SetBounds({10, 40, 300, 100});
  memo->Create(FHost.Form());
  TComPtr<IAccessible> gaugeObject = ClientObject(gauge->Handle());
  TComPtr<IAccessible> memoObject = ClientObject(memo->Handle());
  ASSERT_TRUE(gaugeObject && memoObject);
  // The window goes first, with its parent's destruction; then the widget object.
  DestroyWindow(gauge->Handle());
  EXPECT_EQ(Ask(gaugeObject.Get(), &IAccessible::get_accValue).Result, CO_E_OBJNOTCONNECTED);
  gauge.reset();
  memo.reset();
  EXPECT_EQ(Ask(gaugeObject.Get(), &IAccessible::get_accName).Result, CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(Role(gaugeObject.Get()), -1);
  EXPECT_EQ(Ask(memoObject.Get(), &IAccessible::get_accName).Result, CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(Ask(memoObject.Get(), &IAccessible::get_accValue).Result, CO_E_OBJNOTCONNECTED);
  HWND window = reinterpret_cast<HWND>(1);
  TComPtr<IOleWindow> oleWindow;
  ASSERT_EQ(gaugeObject.As(&oleWindow), S_OK);
  EXPECT_EQ(oleWindow->GetWindow(&window), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(window, nullptr);
  // Letting go of them afterwards is safe.
  oleWindow.Reset();
  gaugeObject.Reset();
  memoObject.Reset();
}

} // namespace
