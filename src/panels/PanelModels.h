#pragma once

#include <cstdint>

namespace panels {

// The vendor and product identifiers by which a unit on the HID bus is told apart.
struct PanelModel {
  std::uint32_t vendorId;
  std::uint32_t productId;
};

inline constexpr std::uint32_t kPanelVendorId = 0x1C7A;

inline constexpr PanelModel kAutopilotPanel{kPanelVendorId, 0x0B21};
inline constexpr PanelModel kRadioPanel{kPanelVendorId, 0x0B22};
inline constexpr PanelModel kSwitchPanel{kPanelVendorId, 0x0B23};

}  // namespace panels
