#pragma once

#include "platform/result.h"

namespace simstub {

using platform::kEFail;
using platform::kSOk;

// Answer to an argument the stand-in cannot act on (E_INVALIDARG).
inline constexpr platform::HResult kEInvalidArg = static_cast<platform::HResult>(0x80070057u);

}  // namespace simstub
