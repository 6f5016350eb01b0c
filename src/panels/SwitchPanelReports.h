#pragma once

// The switch panel's two reports, shared by the plug-in and the tester: the input report
// the panel sends when a control moves, and the feature report that lights its gear lamps.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace panels::switch_panel {

// Input report: byte 0 is the report id and carries nothing; bytes 1 to 3 hold one bit per
// control position, set while the control is in that position.
inline constexpr std::size_t kInputReportLength = 4;

struct InputBit {
  std::uint8_t byte;
  std::uint8_t mask;

  constexpr bool In(std::span<const std::uint8_t, kInputReportLength> report) const {
    return (report[byte] & mask) != 0;
  }
};

inline constexpr InputBit kMasterBatteryOn{1, 0x01};
inline constexpr InputBit kMasterAlternatorOn{1, 0x02};
inline constexpr InputBit kAvionicsMasterOn{1, 0x04};
inline constexpr InputBit kFuelPumpOn{1, 0x08};
inline constexpr InputBit kDeIceOn{1, 0x10};
inline constexpr InputBit kPitotHeatOn{1, 0x20};
inline constexpr InputBit kCowlFlapsClosed{1, 0x40};
inline constexpr InputBit kPanelLightsOn{1, 0x80};
inline constexpr InputBit kBeaconLightsOn{2, 0x01};
inline constexpr InputBit kNavLightsOn{2, 0x02};
inline constexpr InputBit kStrobeLightsOn{2, 0x04};
inline constexpr InputBit kTaxiLightsOn{2, 0x08};
inline constexpr InputBit kLandingLightsOn{2, 0x10};
inline constexpr InputBit kMagnetoOff{2, 0x20};
inline constexpr InputBit kMagnetoRight{2, 0x40};
inline constexpr InputBit kMagnetoLeft{2, 0x80};
inline constexpr InputBit kMagnetoBoth{3, 0x01};
inline constexpr InputBit kMagnetoStart{3, 0x02};
inline constexpr InputBit kGearLeverUp{3, 0x04};
inline constexpr InputBit kGearLeverDown{3, 0x08};

// The knob's detents from OFF round to START. A report may show none of them while the
// knob is between two detents.
inline constexpr std::array kMagnetoDetents = {kMagnetoOff, kMagnetoRight, kMagnetoLeft,
                                               kMagnetoBoth, kMagnetoStart};

// Gear-light feature report: the report id, then one bit per lamp. Both lamps of one gear
// may be lit at once.
inline constexpr std::size_t kGearLightReportLength = 2;
using GearLightReport = std::array<std::uint8_t, kGearLightReportLength>;

struct GearLamps {
  std::uint8_t green;
  std::uint8_t red;
};

inline constexpr GearLamps kNoseGearLamps{0x01, 0x08};
inline constexpr GearLamps kLeftGearLamps{0x02, 0x10};
inline constexpr GearLamps kRightGearLamps{0x04, 0x20};
inline constexpr std::uint8_t kAllLampsOff = 0x00;

constexpr GearLightReport MakeGearLightReport(std::uint8_t lampBits) {
  return {0x00, lampBits};
}

}  // namespace panels::switch_panel
