#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/sync.h"

namespace {

// A behaviour holds a unit's guard while it writes, and the write takes it again; the
// reader thread waits until both are let go.
TEST(RecursiveLock, ItsHolderTakesItAgainAndOthersWaitUntilItLetGoOfBoth) {
  platform::RecursiveLock lock;
  std::atomic<bool> taken = false;
  std::unique_lock outer(lock);
  std::unique_lock inner(lock);
  std::thread other([&] {
    const std::lock_guard waits(lock);
    taken = true;
  });
  inner.unlock();
  platform::SleepMs(20);
  EXPECT_FALSE(taken) << "taken while its holder still held it once";
  outer.unlock();
  other.join();
  EXPECT_TRUE(taken);
}

}  // namespace
