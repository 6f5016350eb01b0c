#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace vunits {

// One request message on a unit handle the program opened, and its answer. False when
// the unit is gone or answered with something else than a message.
bool Exchange(HANDLE unit, std::span<const std::uint8_t> request, std::span<std::uint8_t> answer,
              DWORD& answerLength);

}  // namespace vunits
