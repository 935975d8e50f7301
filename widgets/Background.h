#pragma once
// Calls on the operator's folders, away from the window's thread. A call on a folder whose file
// server does not answer (a laptop off the VPN, a NAS asleep) waits 20 to 60 s; on the window's
// thread it would hold the window that long. Each piece of work runs on a thread of the system's
// pool, so a call that hangs holds only its own thread. Work touches no window and no widget:
// its result comes back to the window's thread, which alone touches windows.
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace Background {

// Runs job on a thread of the system's pool. Called on the window's thread only, as everything
// below; job must not throw.
void RunOnPool(std::function<void()> job);
// Hands done to the window's thread, where it runs inside the handler boundary (an error it
// raises goes to the error report) the next time messages are dispatched: a result arrives only
// at a yield point, like any handler. Dropped once the program's window thread has gone.
void Deliver(std::function<void()> done);

// While it lives, every bounded wait of the window's thread (Ask, AskOrDeliver) waits at most
// what is left of ms from its making: a step that asks several questions (the window's show
// reads four lists) holds the window that long in all, not that long per question. Budgets
// nest; the tighter one holds.
class TWaitBudget {
public:
  explicit TWaitBudget(unsigned ms);
  ~TWaitBudget();
  TWaitBudget(const TWaitBudget&) = delete;
  TWaitBudget& operator=(const TWaitBudget&) = delete;

private:
  unsigned long long FOuterDeadline;
};
// A wait of ms cut to the budget in force.
unsigned BudgetedWait(unsigned ms);

// Runs step on the window's thread the next time messages are dispatched, as Deliver does; for
// work the window's thread cuts in steps so that the window answers between them.
void Later(std::function<void()> step);

// Runs work on the pool, then done with its result on the window's thread. An error work
// raises goes to the error report instead. done decides itself whether the result is still
// wanted (a list that moved on drops an old listing).
template <typename T> void Run(std::function<T()> work, std::function<void(T&)> done) {
  RunOnPool([work = std::move(work), done = std::move(done)]() mutable {
    try {
      auto result = std::make_shared<T>(work());
      Deliver([done = std::move(done), result] { done(*result); });
    } catch (...) {
      Deliver([error = std::current_exception()] { std::rethrow_exception(error); });
    }
  });
}

// Asks work on the pool and waits at most timeoutMs for its answer on the calling thread,
// dispatching nothing meanwhile (no handler runs: this is no yield point). An answer in time is
// returned (an error work raised in time is raised here). Otherwise nothing is returned, and
// the late answer goes to late on the window's thread, as Run's done does (its error to the
// error report); with no late, a late answer and its error are dropped.
template <typename T>
std::optional<T> AskOrDeliver(std::function<T()> work, unsigned timeoutMs,
                              std::function<void(T&)> late) {
  struct TAnswer {
    std::mutex Lock;
    std::condition_variable Ready;
    std::optional<T> Value;
    std::exception_ptr Error;
    bool Done = false;
    bool Abandoned = false; // the asker stopped waiting: the answer goes to late
  };
  const auto answer = std::make_shared<TAnswer>();
  RunOnPool([answer, work = std::move(work), late = std::move(late)] {
    std::optional<T> value;
    std::exception_ptr error;
    try {
      value.emplace(work());
    } catch (...) {
      error = std::current_exception();
    }
    {
      const std::lock_guard<std::mutex> lock(answer->Lock);
      if (!answer->Abandoned) {
        answer->Value = std::move(value);
        answer->Error = error;
        answer->Done = true;
        answer->Ready.notify_all();
        return;
      }
    }
    if (!late) return;
    if (error)
      Deliver([error] { std::rethrow_exception(error); });
    else
      Deliver([late, result = std::make_shared<T>(std::move(*value))] { late(*result); });
  });
  const unsigned waitMs = BudgetedWait(timeoutMs);
  std::unique_lock<std::mutex> lock(answer->Lock);
  // No time left: only an answer already there counts (a timed wait of nothing still lets the
  // work finish meanwhile).
  const bool answered = waitMs == 0
                            ? answer->Done
                            : answer->Ready.wait_for(lock, std::chrono::milliseconds(waitMs),
                                                     [&] { return answer->Done; });
  if (!answered) {
    answer->Abandoned = true;
    return std::nullopt;
  }
  if (answer->Error) std::rethrow_exception(answer->Error);
  return std::move(answer->Value);
}

// AskOrDeliver whose late answer is dropped.
template <typename T> std::optional<T> Ask(std::function<T()> work, unsigned timeoutMs) {
  return AskOrDeliver<T>(std::move(work), timeoutMs, nullptr);
}

} // namespace Background
