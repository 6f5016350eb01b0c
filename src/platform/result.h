#pragma once

#include <cstdint>

namespace platform {

// Result codes of simulator calls: 32-bit, negative means failure (Windows HRESULT values).
using HResult = std::int32_t;

inline constexpr HResult kSOk = 0;
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001u);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);

}  // namespace platform
