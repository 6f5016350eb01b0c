#pragma once

#include <windows.h>

#include <chrono>

namespace vunits {

// Under emulation every step of a program is slow; nothing waits this long unless
// something is wrong.
inline constexpr auto kPatience = std::chrono::seconds(60);

// True once the condition holds, checked again and again for a while.
template <typename Condition>
bool Eventually(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(20);
  }
  return true;
}

}  // namespace vunits
