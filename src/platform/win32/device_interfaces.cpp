#include "platform/device_interfaces.h"

#include <windows.h>
// These need the Windows types first; the HID header does not declare C linkage itself.
#include <dbt.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <cstring>
#include <memory>
#include <new>

#include "platform/window.h"

namespace platform {

namespace {

static_assert(sizeof(Guid) == sizeof(GUID));

GUID Native(const Guid& guid) {
  GUID native;
  std::memcpy(&native, &guid, sizeof(native));
  return native;
}

// The filter is the fixed part of the record: 32 bytes in 32- and 64-bit builds alike.
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) == 32);

struct DeviceInfoListCloser {
  void operator()(void* list) const { SetupDiDestroyDeviceInfoList(list); }
};
using DeviceInfoList = std::unique_ptr<void, DeviceInfoListCloser>;

}  // namespace

Guid HidClassGuid() {
  GUID native;
  HidD_GetHidGuid(&native);
  Guid guid;
  std::memcpy(&guid, &native, sizeof(guid));
  return guid;
}

DeviceNotification RegisterDeviceInterfaceNotification(const Window& window,
                                                       const Guid& interfaceClass) {
  return RegisterDeviceInterfaceNotification(window.Handle(), interfaceClass);
}

DeviceNotification RegisterDeviceInterfaceNotification(WindowHandle window,
                                                       const Guid& interfaceClass) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = Native(interfaceClass);
  return RegisterDeviceNotificationW(static_cast<HWND>(window), &filter,
                                     DEVICE_NOTIFY_WINDOW_HANDLE);
}

void ForEachPresentInterface(const Guid& interfaceClass,
                             const std::function<void(const std::wstring& path)>& offer) {
  const GUID guid = Native(interfaceClass);
  HDEVINFO handle = SetupDiGetClassDevsW(&guid, nullptr, nullptr,
                                         DIGCF_PRESENT | DIGCF_PROFILE | DIGCF_DEVICEINTERFACE);
  if (handle == INVALID_HANDLE_VALUE) return;
  const DeviceInfoList list(handle);

  SP_DEVICE_INTERFACE_DATA interfaceData{};
  interfaceData.cbSize = sizeof(interfaceData);
  for (DWORD index = 0; SetupDiEnumDeviceInterfaces(handle, nullptr, &guid, index, &interfaceData);
       ++index) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(handle, &interfaceData, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
    const std::unique_ptr<std::byte[]> buffer(new (std::nothrow) std::byte[required]);
    if (!buffer) continue;
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.get());
    // The fixed part only, whose size differs between 32- and 64-bit builds.
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    SP_DEVINFO_DATA deviceInfo{};
    deviceInfo.cbSize = sizeof(deviceInfo);
    if (SetupDiGetDeviceInterfaceDetailW(handle, &interfaceData, detail, required, nullptr,
                                         &deviceInfo)) {
      offer(detail->DevicePath);
    }
  }
}

}  // namespace platform
