#pragma once
// Asks a window of the program to answer WM_NULL every 50 ms from a thread of its own, as the
// system does before it calls a window not responding: the longest wait so far, and every wait
// with the time it began (read those once Stop has returned).
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace e2e {

class TAnswerProbe {
public:
  explicit TAnswerProbe(HWND window)
      : FThread([this, window] {
          while (!FStop) {
            const auto asked = Clock::now();
            DWORD_PTR result = 0;
            const bool answered =
                SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
            const double waited = Milliseconds(Clock::now() - asked);
            if (!answered) ++FUnanswered;
            FLongest = std::max<long long>(FLongest, static_cast<long long>(waited));
            ++FAsked;
            FWaits.push_back(waited);
            FAskedAt.push_back(Milliseconds(asked - FStart));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
        }) {}
  ~TAnswerProbe() { Stop(); }
  TAnswerProbe(const TAnswerProbe&) = delete;
  TAnswerProbe& operator=(const TAnswerProbe&) = delete;
  // Ends the asking; then the waits are final.
  void Stop() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
  }
  long long Longest() const { return FLongest; }
  int Asked() const { return FAsked; }
  int Unanswered() const { return FUnanswered; }
  const std::vector<double>& Waits() const { return FWaits; }
  // When each wait began, in ms since the probe started.
  const std::vector<double>& AskedAt() const { return FAskedAt; }

private:
  using Clock = std::chrono::steady_clock;
  static double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  }
  const Clock::time_point FStart = Clock::now();
  std::atomic<bool> FStop{false};
  std::atomic<long long> FLongest{0};
  std::atomic<int> FAsked{0};
  std::atomic<int> FUnanswered{0};
  std::vector<double> FWaits, FAskedAt;
  std::thread FThread; // last: it starts once the rest is made
};

} // namespace e2e
