#include "core/parallel.h"

#include <QThreadPool>
#include <exception>
#include <future>

#if defined(__SANITIZE_THREAD__)
#define TENZOR_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TENZOR_THREAD_SANITIZER 1
#endif
#endif

#ifdef TENZOR_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace tz {

namespace {

// The pool hands a task to its thread under a lock of its own, out of the thread
// sanitizer's sight; these tell it the same, so that it reports only what the task and
// its starter really share without order.
#ifdef TENZOR_THREAD_SANITIZER
char handover;
void hand_over() {
  __tsan_release(&handover);
}
void take_over() {
  __tsan_acquire(&handover);
}
#else
void hand_over() {}
void take_over() {}
#endif

}  // namespace

bool start_in_pool(std::function<void()> task, Start when) {
  QThreadPool& pool = *QThreadPool::globalInstance();
  std::function<void()> run = [task = std::move(task)] {
    take_over();
    task();
  };
  // All the task reads is written by now.
  hand_over();
  if (when == Start::if_free) return pool.tryStart(std::move(run));
  pool.start(std::move(run));
  return true;
}

void both_at_once(const std::function<void()>& here, const std::function<void()>& beside) {
  std::promise<void> done;
  std::future<void> beside_done = done.get_future();
  const auto run_beside = [&beside, &done] {
    try {
      beside();
      done.set_value();
    } catch (...) {
      done.set_exception(std::current_exception());
    }
  };
  const bool started = start_in_pool(run_beside, Start::if_free);
  std::exception_ptr failed_here;
  try {
    here();
  } catch (...) {
    failed_here = std::current_exception();
  }
  if (!started) run_beside();
  // Waits for `beside` in every case: it uses what the caller holds.
  std::exception_ptr failed_beside;
  try {
    beside_done.get();
  } catch (...) {
    failed_beside = std::current_exception();
  }
  if (failed_here) std::rethrow_exception(failed_here);
  if (failed_beside) std::rethrow_exception(failed_beside);
}

}  // namespace tz
