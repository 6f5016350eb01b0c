#pragma once

// Failures of the stand-in kernel's own objects, for tests: while a fault is active, every
// thread start or event creation fails as it can on Windows when the system runs short.

namespace platform::posix {

enum class KernelFault { ThreadStart, EventCreation };

void InjectKernelFault(KernelFault fault, bool active = true);
bool KernelFaulty(KernelFault fault);

}  // namespace platform::posix
