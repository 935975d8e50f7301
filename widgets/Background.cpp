#include "widgets/Background.h"
#include "widgets/Application.h"
#include <windows.h>
#include <algorithm>
#include <deque>
#include <utility>

namespace {
constexpr UINT kDeliverMessage = WM_APP + 1;
constexpr wchar_t kDeliveryClass[] = L"ReplimarBackgroundResults";

// Results on their way to the window's thread. Shared with the pool threads, so it outlives
// every piece of work still running when the program ends.
struct TDelivery {
  std::mutex Lock;
  std::deque<std::function<void()>> Done;
  HWND Window = nullptr; // message-only, on the window's thread; null once it has gone
};

std::shared_ptr<TDelivery>& Delivery() {
  static std::shared_ptr<TDelivery> delivery = std::make_shared<TDelivery>();
  return delivery;
}

LRESULT CALLBACK DeliveryProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == kDeliverMessage) {
    std::deque<std::function<void()>> done;
    {
      const std::lock_guard<std::mutex> lock(Delivery()->Lock);
      done.swap(Delivery()->Done);
    }
    for (std::function<void()>& result : done)
      Application.Invoke(result);
    return 0;
  }
  if (msg == WM_DESTROY) {
    const std::lock_guard<std::mutex> lock(Delivery()->Lock);
    Delivery()->Window = nullptr;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

// The message-only window that receives the results, made on the window's thread by the first
// piece of work it starts.
void EnsureDeliveryWindow() {
  {
    const std::lock_guard<std::mutex> lock(Delivery()->Lock);
    if (Delivery()->Window) return;
  }
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  windowClass.lpfnWndProc = DeliveryProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kDeliveryClass;
  RegisterClassExW(&windowClass); // fails harmlessly when already registered
  const HWND window = CreateWindowExW(0, kDeliveryClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  const std::lock_guard<std::mutex> lock(Delivery()->Lock);
  Delivery()->Window = window;
}

struct TPoolJob {
  std::function<void()> Job;
  // Taken on the window's thread: the job's results have somewhere to go even if the program's
  // statics are being torn down when it ends.
  std::shared_ptr<TDelivery> Delivery;
};

// The delivery of the job this pool thread runs.
thread_local std::shared_ptr<TDelivery> tDelivery;

void CALLBACK RunPoolJob(PTP_CALLBACK_INSTANCE, void* context) noexcept {
  const std::unique_ptr<TPoolJob> job(static_cast<TPoolJob*>(context));
  tDelivery = job->Delivery;
  try {
    job->Job();
  } catch (...) {
    // Jobs catch their own errors; nothing may leave a pool thread.
  }
  tDelivery.reset();
}
} // namespace

namespace Background {

void RunOnPool(std::function<void()> job) {
  EnsureDeliveryWindow();
  auto owned = std::make_unique<TPoolJob>(TPoolJob{std::move(job), Delivery()});
  if (TrySubmitThreadpoolCallback(RunPoolJob, owned.get(), nullptr))
    owned.release(); // the callback owns it now
  else
    RunPoolJob(nullptr, owned.release()); // no pool thread to be had: run it here, not lose it
}

namespace {
constexpr unsigned long long kNoDeadline = ~0ull;
unsigned long long gWaitDeadline = kNoDeadline; // the window's thread's budget, in ticks
} // namespace

TWaitBudget::TWaitBudget(unsigned ms) : FOuterDeadline(gWaitDeadline) {
  gWaitDeadline = std::min(gWaitDeadline, GetTickCount64() + ms);
}

TWaitBudget::~TWaitBudget() {
  gWaitDeadline = FOuterDeadline;
}

unsigned BudgetedWait(unsigned ms) {
  if (gWaitDeadline == kNoDeadline) return ms;
  const unsigned long long now = GetTickCount64();
  return now >= gWaitDeadline
             ? 0
             : static_cast<unsigned>(std::min<unsigned long long>(ms, gWaitDeadline - now));
}

void Later(std::function<void()> step) {
  EnsureDeliveryWindow();
  Deliver(std::move(step));
}

void Deliver(std::function<void()> done) {
  const std::shared_ptr<TDelivery> delivery = tDelivery ? tDelivery : Delivery();
  const std::lock_guard<std::mutex> lock(delivery->Lock);
  if (!delivery->Window) return;
  delivery->Done.push_back(std::move(done));
  PostMessageW(delivery->Window, kDeliverMessage, 0, 0);
}

} // namespace Background
