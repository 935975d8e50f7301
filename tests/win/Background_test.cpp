#include "widgets/Background.h"
#include "WinTestSupport.h"
#include "funcoes/Handles.h"
#include "funcoes/pure/Exception.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <atomic>
#include <memory>
#include <string>

namespace {

using wintest::WaitUntil;

// An event the test sets to let a piece of work go on; set at the latest when the test ends, so
// that no pool thread waits past it.
class TGate {
public:
  TGate() : FEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~TGate() { Open(); }
  void Open() { SetEvent(FEvent.Get()); }
  void Pass() const { WaitForSingleObject(FEvent.Get(), 30000); }

private:
  UniqueHandle FEvent;
};

TEST(Background, WorkRunsOffTheWindowThreadAndItsResultComesBackToIt) {
  const DWORD windowThread = GetCurrentThreadId();
  DWORD workThread = 0;
  DWORD doneThread = 0;
  int result = 0;
  Background::Run<int>(
      [&] {
        workThread = GetCurrentThreadId();
        return 42;
      },
      [&](int& value) {
        doneThread = GetCurrentThreadId();
        result = value;
      });
  ASSERT_TRUE(WaitUntil([&] { return result != 0; }));
  EXPECT_EQ(result, 42);
  EXPECT_NE(workThread, windowThread);
  EXPECT_EQ(doneThread, windowThread);
}

// A call that hangs (a silent server) holds only its own thread: later work still answers.
TEST(Background, AHangingPieceOfWorkHoldsNoOther) {
  const auto gate = std::make_shared<TGate>();
  std::atomic<bool> hungDone{false};
  bool quickDone = false;
  Background::Run<int>(
      [gate] {
        gate->Pass();
        return 1;
      },
      [&](int&) { hungDone = true; });
  Background::Run<int>([] { return 2; }, [&](int&) { quickDone = true; });
  EXPECT_TRUE(WaitUntil([&] { return quickDone; }));
  EXPECT_FALSE(hungDone);
  gate->Open();
  EXPECT_TRUE(WaitUntil([&] { return hungDone.load(); }));
}

TEST(Background, AskAnswersInTimeOrNotAtAll) {
  EXPECT_EQ(Background::Ask<int>([] { return 7; }, 5000), 7);

  const auto gate = std::make_shared<TGate>();
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(Background::Ask<int>(
                [gate] {
                  gate->Pass();
                  return 8;
                },
                200),
            std::nullopt);
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, 150u);
  EXPECT_LT(waited, 2000u) << "the wait is bounded";
  gate->Open(); // the late answer is dropped

  EXPECT_THROW(Background::Ask<int>([]() -> int { throw EInOutError(L"sem resposta"); }, 5000),
               EInOutError);
}

// Questions asked under one budget wait that long in all; outside it each waits its own time.
TEST(Background, AWaitBudgetCapsAllTheWaitsInsideIt) {
  const auto gate = std::make_shared<TGate>();
  const auto hanging = [gate] {
    gate->Pass();
    return 1;
  };
  ULONGLONG start = GetTickCount64();
  {
    const Background::TWaitBudget budget(150);
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(Background::Ask<int>(hanging, 1000), std::nullopt);
    EXPECT_EQ(Background::BudgetedWait(1000), 0u);
  }
  const ULONGLONG inside = GetTickCount64() - start;
  EXPECT_GE(inside, 100u);
  EXPECT_LT(inside, 900u) << "four waits of 1 s under a budget of 150 ms";
  EXPECT_EQ(Background::BudgetedWait(1000), 1000u) << "the budget ended with its scope";
  start = GetTickCount64();
  EXPECT_EQ(Background::Ask<int>(hanging, 200), std::nullopt);
  EXPECT_GE(GetTickCount64() - start, 150u);
  gate->Open();
}

// An answer in time comes back from the call and never also as a late one; a late answer comes
// once, on the window's thread, at a dispatch; a late error goes to the error report.
TEST(Background, AskOrDeliverHandsALateAnswerToTheWindowThread) {
  int lateCalls = 0;
  const auto late = [&](int&) { ++lateCalls; };
  EXPECT_EQ(Background::AskOrDeliver<int>([] { return 3; }, 5000, late), 3);

  const auto gate = std::make_shared<TGate>();
  const DWORD windowThread = GetCurrentThreadId();
  DWORD lateThread = 0;
  int lateValue = 0;
  EXPECT_EQ(Background::AskOrDeliver<int>(
                [gate] {
                  gate->Pass();
                  return 9;
                },
                50,
                [&](int& value) {
                  lateThread = GetCurrentThreadId();
                  lateValue = value;
                }),
            std::nullopt);
  gate->Open();
  ASSERT_TRUE(WaitUntil([&] { return lateValue != 0; }));
  EXPECT_EQ(lateValue, 9);
  EXPECT_EQ(lateThread, windowThread);
  // The in-time answer above came back once, from the call.
  WaitUntil([] { return false; }, 100);
  EXPECT_EQ(lateCalls, 0);

  const auto errorGate = std::make_shared<TGate>();
  wintest::TMessageBoxCloser closer;
  EXPECT_EQ(Background::AskOrDeliver<int>(
                [errorGate]() -> int {
                  errorGate->Pass();
                  throw EInOutError(L"servidor calado");
                },
                50, late),
            std::nullopt);
  errorGate->Open();
  EXPECT_TRUE(WaitUntil([&] { return closer.Found(); }));
  closer.Join();
  EXPECT_NE(closer.Text().find(L"servidor calado"), std::wstring::npos)
      << wintest::Narrow(closer.Text());
  EXPECT_EQ(lateCalls, 0);
}

} // namespace
