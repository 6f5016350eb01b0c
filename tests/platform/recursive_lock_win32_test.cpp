#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/sync.h"
#include "simstub/ProcessFigures.h"

namespace {

std::size_t HandleCount() {
  return std::strtoull(simstub::HandleFigures().c_str(), nullptr, 10);
}

// Each attached unit has a lock that its reader and the window's thread contend for. A
// std::recursive_mutex kept an event handle after such a life, one per unit that went: a
// plug-in left running for hours grew by one handle per unplug.
TEST(RecursiveLock, AContendedLockGivesBackItsHandlesWhenItGoes) {
  constexpr int kLives = 40;
  // The threads runtime may keep a handle of the last waiter a moment longer; the leak was
  // one handle per life.
  constexpr std::size_t kLingering = 4;
  std::thread([] {}).join();  // the threads runtime makes its own first handles
  const std::size_t before = HandleCount();
  ASSERT_GT(before, 0u);
  for (int life = 0; life < kLives; ++life) {
    platform::RecursiveLock lock;
    std::unique_lock held(lock);
    std::thread waiter([&] { const std::lock_guard waits(lock); });
    // Long enough that the waiter is blocked when the lock is let go, as a contended one is.
    platform::SleepMs(20);
    held.unlock();
    waiter.join();
  }
  EXPECT_LE(HandleCount(), before + kLingering) << simstub::HandleFigures();
}

}  // namespace
