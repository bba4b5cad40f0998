#include "core/parallel.h"

#include <QThreadPool>
#include <exception>
#include <future>

namespace tz {

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
  const bool started = QThreadPool::globalInstance()->tryStart(run_beside);
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
