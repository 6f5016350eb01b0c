#pragma once

// Device interfaces of a class: which are present now, and notification of their
// arrival and removal through device-change messages to a window.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/window.h"

namespace platform {

// A device interface class, laid out as the Windows GUID.
struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::array<std::uint8_t, 8> data4;

  friend bool operator==(const Guid&, const Guid&) = default;
};

Guid HidClassGuid();

// Lives until the process ends: the plug-in never unregisters it.
using DeviceNotification = void*;

// Device-change messages with device-interface records for arrivals and removals of this
// class will reach the window. Null when the registration failed.
DeviceNotification RegisterDeviceInterfaceNotification(const Window& window,
                                                       const Guid& interfaceClass);
// The same for a window the system made by other means, such as a dialog, by its handle.
DeviceNotification RegisterDeviceInterfaceNotification(WindowHandle window,
                                                       const Guid& interfaceClass);

// Calls `offer` with the path of every device interface of the class present now.
void ForEachPresentInterface(const Guid& interfaceClass,
                             const std::function<void(const std::wstring& path)>& offer);

}  // namespace platform
