#pragma once

// The stand-in kernel: one lock for every waitable object, so that a wait on several
// objects at once (a read and a stop event) is a plain predicate wait. One wake-up serves
// every waiter but the readers: each unit wakes its own, and a stop event the reader
// waiting on it, so that a report for one unit does not wake the readers of all the others.

#include <condition_variable>
#include <mutex>

#include "platform/sync.h"

namespace platform::posix {

std::mutex& KernelLock();
std::condition_variable& KernelWake();

// A thread cannot be killed here; one that was killed ends instead at its next call into
// the stand-in kernel, which never returns to it. Called without the kernel lock.
void EndIfKilled();

}  // namespace platform::posix

namespace platform {

struct Event::Impl {
  bool signalled = false;  // guarded by KernelLock()
  // The wake-up of a reader waiting on this event besides its unit, while it waits.
  std::condition_variable* reader = nullptr;  // guarded by KernelLock()
};

}  // namespace platform
