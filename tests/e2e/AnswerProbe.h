#pragma once
// Asks a window of the program to answer WM_NULL every 50 ms from a thread of the test, as the
// system does before it calls a window not responding, and keeps the longest wait.
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace e2e {

class TAnswerProbe {
public:
  explicit TAnswerProbe(HWND window)
      : FThread([this, window] {
          using Clock = std::chrono::steady_clock;
          while (!FStop) {
            const auto asked = Clock::now();
            DWORD_PTR result = 0;
            const bool answered =
                SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
            const long long waited =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked).count();
            if (!answered) ++FUnanswered;
            FLongest = std::max<long long>(FLongest, waited);
            ++FAsked;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
        }) {}
  ~TAnswerProbe() { Stop(); }
  TAnswerProbe(const TAnswerProbe&) = delete;
  TAnswerProbe& operator=(const TAnswerProbe&) = delete;
  void Stop() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
  }
  long long Longest() const { return FLongest; }
  int Asked() const { return FAsked; }
  int Unanswered() const { return FUnanswered; }

private:
  std::atomic<bool> FStop{false};
  std::atomic<long long> FLongest{0};
  std::atomic<int> FAsked{0};
  std::atomic<int> FUnanswered{0};
  std::thread FThread;
};

} // namespace e2e
