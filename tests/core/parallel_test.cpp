#include "core/parallel.h"

#include <gtest/gtest.h>

#include <QThreadPool>
#include <atomic>
#include <stdexcept>
#include <thread>

namespace tz::test {
namespace {

TEST(BothAtOnce, RunsBothEvenWithoutAFreeThreadAndPassesOnWhatThrewHereFirst) {
  std::thread::id here_thread, beside_thread;
  both_at_once([&] { here_thread = std::this_thread::get_id(); },
               [&] { beside_thread = std::this_thread::get_id(); });
  EXPECT_EQ(here_thread, std::this_thread::get_id());
  EXPECT_NE(beside_thread, std::thread::id());

  // What one side throws never leaves the other half-run: both finish, then it passes on.
  std::atomic<bool> beside_done = false;
  EXPECT_THROW(both_at_once([] { throw std::runtime_error("here"); },
                            [&] {
                              std::this_thread::sleep_for(std::chrono::milliseconds(20));
                              beside_done = true;
                            }),
               std::runtime_error);
  EXPECT_TRUE(beside_done);
  try {
    both_at_once([] { throw std::runtime_error("here"); },
                 [] { throw std::logic_error("beside"); });
    ADD_FAILURE() << "nothing thrown";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "here");
  }
  EXPECT_THROW(both_at_once([] {}, [] { throw std::logic_error("beside"); }), std::logic_error);

  // No thread free: what would run beside runs here.
  QThreadPool& pool = *QThreadPool::globalInstance();
  const int threads = pool.maxThreadCount();
  pool.setMaxThreadCount(1);
  std::atomic<bool> release = false;
  start_in_pool([&release] {
    while (!release) std::this_thread::yield();
  });
  bool beside_ran = false;
  both_at_once([] {}, [&] { beside_ran = true; });
  release = true;
  pool.waitForDone();
  pool.setMaxThreadCount(threads);
  EXPECT_TRUE(beside_ran);
}

}  // namespace
}  // namespace tz::test
