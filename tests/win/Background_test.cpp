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

} // namespace
