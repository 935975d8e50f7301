#pragma once
// Asks a window to answer WM_NULL every 50 ms from a thread of its own, as the system does
// before it calls a window not responding (SendMessageTimeoutW), and keeps every wait: for the
// end-to-end tests of big trees and for the benchmark driver alike. Read the waits once Stop
// has returned.
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

class TAnswerProbe {
public:
  explicit TAnswerProbe(HWND window)
      : FThread([this, window] {
          while (!FStop) {
            const auto asked = Clock::now();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result))
              ++FUnanswered;
            FWaits.push_back(Milliseconds(Clock::now() - asked));
            FAskedAt.push_back(Milliseconds(asked - FStart));
            Sleep(50);
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
  // Each wait for an answer, in ms, in the order asked.
  const std::vector<double>& Waits() const { return FWaits; }
  // When each wait began, in ms since the probe started.
  const std::vector<double>& AskedAt() const { return FAskedAt; }
  double Longest() const {
    return FWaits.empty() ? 0 : *std::max_element(FWaits.begin(), FWaits.end());
  }
  int Unanswered() const { return FUnanswered; }

private:
  using Clock = std::chrono::steady_clock;
  static double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
  }

  std::atomic<bool> FStop{false};
  const Clock::time_point FStart = Clock::now();
  std::vector<double> FWaits, FAskedAt;
  int FUnanswered = 0;
  std::thread FThread; // last: it starts once the rest is made
};
