#pragma once

// The autopilot panel's two reports: the input report its controls send, and the feature
// report that fills its two LCD rows and lights its buttons.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace panels::autopilot_panel {

// Input report: byte 0 is the report id and carries nothing; bytes 1 to 3 hold one bit per
// control. A unit may send a longer report; nothing after byte 3 is looked at.
inline constexpr std::size_t kInputReportLength = 4;
using InputBytes = std::span<const std::uint8_t, kInputReportLength>;

struct InputBit {
  std::uint8_t byte;
  std::uint8_t mask;

  constexpr bool In(InputBytes report) const { return (report[byte] & mask) != 0; }
};

// The mode selector's positions, in the order of their bits in byte 1. A feature read of
// the unit shows where the selector stands in the same bits of its byte 1.
enum class Selector : std::int32_t { Alt, Vs, Ias, Hdg, Crs };
inline constexpr std::size_t kSelectorByte = 1;
inline constexpr std::array<InputBit, 5> kSelectorDetents = {{{kSelectorByte, 0x01},
                                                              {kSelectorByte, 0x02},
                                                              {kSelectorByte, 0x04},
                                                              {kSelectorByte, 0x08},
                                                              {kSelectorByte, 0x10}}};
inline constexpr std::size_t kSelectorPositions = kSelectorDetents.size();
inline constexpr std::uint8_t kSelectorBits = 0x1F;

inline constexpr InputBit kEncoderIncrease{1, 0x20};
inline constexpr InputBit kEncoderDecrease{1, 0x40};
inline constexpr InputBit kApButton{1, 0x80};
inline constexpr InputBit kHdgButton{2, 0x01};
inline constexpr InputBit kNavButton{2, 0x02};
inline constexpr InputBit kIasButton{2, 0x04};
inline constexpr InputBit kAltButton{2, 0x08};
inline constexpr InputBit kVsButton{2, 0x10};
inline constexpr InputBit kAprButton{2, 0x20};
inline constexpr InputBit kRevButton{2, 0x40};
// Held while the switch is in its armed position, unlike the buttons and steps.
inline constexpr InputBit kAutoThrottleArmed{2, 0x80};
inline constexpr InputBit kFlapsRetract{3, 0x01};
inline constexpr InputBit kFlapsExtend{3, 0x02};
inline constexpr InputBit kTrimNoseDown{3, 0x04};
inline constexpr InputBit kTrimNoseUp{3, 0x08};

// The position a selector byte shows: exactly one of its five position bits, else the
// fallback (the knob between detents, or a report that cannot be read as one).
constexpr Selector DecodeSelector(std::uint8_t bits, Selector fallback) {
  for (std::size_t position = 0; position < kSelectorDetents.size(); ++position) {
    if ((bits & kSelectorBits) == kSelectorDetents[position].mask) {
      return static_cast<Selector>(position);
    }
  }
  return fallback;
}

// Display feature report: the report id, five cells of the first row and five of the
// second, most significant first, the button lights, and a byte that stays zero.
inline constexpr std::size_t kDisplayReportLength = 13;
inline constexpr std::size_t kCellsPerRow = 5;
inline constexpr std::size_t kFirstRowAt = 1;
inline constexpr std::size_t kSecondRowAt = kFirstRowAt + kCellsPerRow;
inline constexpr std::size_t kLightsAt = kSecondRowAt + kCellsPerRow;
static_assert(kLightsAt + 2 == kDisplayReportLength);

using DisplayReport = std::array<std::uint8_t, kDisplayReportLength>;
using Cells = std::array<std::uint8_t, kCellsPerRow>;

// Cell codes: 0x00 to 0x09 show that digit.
inline constexpr std::uint8_t kCellMinus = 0x0E;
inline constexpr std::uint8_t kCellBlank = 0xFF;
// The unit's own blank, written when the plug-in lets go of it.
inline constexpr std::uint8_t kCellResetBlank = 0x0F;

inline constexpr std::uint8_t kLightAp = 0x01;
inline constexpr std::uint8_t kLightHdg = 0x02;
inline constexpr std::uint8_t kLightNav = 0x04;
inline constexpr std::uint8_t kLightIas = 0x08;
inline constexpr std::uint8_t kLightAlt = 0x10;
inline constexpr std::uint8_t kLightVs = 0x20;
inline constexpr std::uint8_t kLightApr = 0x40;
inline constexpr std::uint8_t kLightRev = 0x80;
inline constexpr std::uint8_t kAllLightsOff = 0x00;

// Both rows blank and every light off.
constexpr DisplayReport MakeResetReport() {
  DisplayReport report{};
  for (std::size_t cell = kFirstRowAt; cell < kLightsAt; ++cell) report[cell] = kCellResetBlank;
  report[kLightsAt] = kAllLightsOff;
  return report;
}

}  // namespace panels::autopilot_panel
