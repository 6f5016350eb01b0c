#pragma once

// The stand-in kernel: one lock and one wake-up for every waitable object, so that a
// wait on several objects at once (a read and a stop event) is a plain predicate wait.

#include <condition_variable>
#include <mutex>

#include "platform/sync.h"

namespace platform::posix {

std::mutex& KernelLock();
std::condition_variable& KernelWake();

}  // namespace platform::posix

namespace platform {

struct Event::Impl {
  bool signalled = false;  // guarded by KernelLock()
};

}  // namespace platform
