#pragma once

#include <windows.h>
// dbt.h needs the Windows types first.
#include <dbt.h>

#include <optional>

#include "platform/window.h"

namespace platform {

// The record of a device-change message, valid while the message is handled; nothing when
// the message carries none.
inline std::optional<DeviceBroadcast> ReadDeviceBroadcast(LPARAM lParam) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  if (!header) return std::nullopt;
  std::wstring_view name;
  if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
    name = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header)->dbcc_name;
  }
  return DeviceBroadcast{header->dbch_devicetype, name};
}

}  // namespace platform
