#pragma once

#include <cstdint>
#include <string>

// A call log line's first argument as a number: for the simulator's calls, the definition
// or client event id that the behaviour drew.
inline std::uint32_t FirstArgument(const std::string& call) {
  return static_cast<std::uint32_t>(std::stoul(call.substr(call.find('(') + 1)));
}
