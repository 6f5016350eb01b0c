#pragma once

// For programs that drive the stand-ins step by step (tests, the demo): they run on the
// window's thread and let its messages through between their own steps.

#include <optional>

namespace platform::posix {

// Dispatches this thread's messages until none is waiting, without blocking; the exit
// code when the quit message came up (messages after it stay queued).
std::optional<int> DispatchPendingMessages();

}  // namespace platform::posix
