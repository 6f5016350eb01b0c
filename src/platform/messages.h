#pragma once

// Window message numbers and device-change codes the plug-in reacts to, with their
// Windows values, so that code above the platform layer can name them portably.

#include <cstdint>

namespace platform {

inline constexpr std::uint32_t kWmCreate = 0x0001;
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmQuit = 0x0012;
inline constexpr std::uint32_t kWmDeviceChange = 0x0219;
inline constexpr std::uint32_t kWmUser = 0x0400;

// Events of a device-change message.
inline constexpr std::uint32_t kDbtDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDbtDeviceQueryRemove = 0x8001;
inline constexpr std::uint32_t kDbtDeviceRemoveComplete = 0x8004;

// Device type of a device-change record that names a device interface by its path.
inline constexpr std::uint32_t kDbtDevTypDeviceInterface = 5;

}  // namespace platform
