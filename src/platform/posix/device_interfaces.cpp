#include "platform/device_interfaces.h"

#include "platform/messages.h"
#include "platform/posix/virtual_hid_bus.h"
#include "platform/posix/window_slot.h"
#include "platform/window.h"

namespace platform {

namespace {

// The virtual bus holds HID units only; the class is known by its Windows value.
constexpr Guid kHidClass{
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

}  // namespace

Guid HidClassGuid() {
  return kHidClass;
}

DeviceNotification RegisterDeviceInterfaceNotification(const Window& window,
                                                       const Guid& interfaceClass) {
  return RegisterDeviceInterfaceNotification(window.Handle(), interfaceClass);
}

DeviceNotification RegisterDeviceInterfaceNotification(WindowHandle window,
                                                       const Guid& interfaceClass) {
  if (interfaceClass != kHidClass || !window) return nullptr;
  posix::WindowSlot* slot = &posix::SlotOf(window);
  // A unit pulled out is gone at once, as after a surprise removal: no query comes first.
  const int listener = vhid::AddChangeListener([slot](bool arrived, const std::wstring& path) {
    slot->queue->Post({slot, kWmDeviceChange,
                       arrived ? kDbtDeviceArrival : kDbtDeviceRemoveComplete,
                       posix::QueuedRecord{kDbtDevTypDeviceInterface, path}});
  });
  return reinterpret_cast<DeviceNotification>(static_cast<std::intptr_t>(listener));
}

void ForEachPresentInterface(const Guid& interfaceClass,
                             const std::function<void(const std::wstring& path)>& offer) {
  if (interfaceClass != kHidClass) return;
  for (const std::wstring& path : vhid::PresentPaths()) offer(path);
}

}  // namespace platform
