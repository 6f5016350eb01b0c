#pragma once

#include <cstdint>

#include "PanelRig.h"
#include "panels/CPanelClass_Radios.h"

using RadioRig = PanelRig<CPanelClass_Radios, panels::radio_panel::kInputReportLength>;

// Report bytes 1 to 3 of the radio panel, from its controls.
namespace radio_input {

constexpr std::uint8_t Upper(int mode) {
  return static_cast<std::uint8_t>(1u << mode);
}
// The lower selector's COM1 bit sits in byte 1, its other positions in byte 2.
constexpr RadioRig::Report Selectors(int upperMode, int lowerMode, std::uint8_t buttons = 0,
                                     std::uint8_t encoders = 0) {
  const std::uint8_t lowerInByte1 = lowerMode == 0 ? 0x80 : 0x00;
  const std::uint8_t lowerInByte2 =
      lowerMode == 0 ? 0x00 : static_cast<std::uint8_t>(1u << (lowerMode - 1));
  return {0x00, static_cast<std::uint8_t>(Upper(upperMode) | lowerInByte1),
          static_cast<std::uint8_t>(lowerInByte2 | buttons), encoders};
}

constexpr std::uint8_t kUpperSwap = 0x40;
constexpr std::uint8_t kLowerSwap = 0x80;
constexpr std::uint8_t kUpperFineUp = 0x01;
constexpr std::uint8_t kUpperFineDown = 0x02;
constexpr std::uint8_t kUpperCoarseUp = 0x04;
constexpr std::uint8_t kUpperCoarseDown = 0x08;
constexpr std::uint8_t kLowerFineUp = 0x10;
constexpr std::uint8_t kLowerFineDown = 0x20;
constexpr std::uint8_t kLowerCoarseUp = 0x40;
constexpr std::uint8_t kLowerCoarseDown = 0x80;

enum Mode { kCom1, kCom2, kNav1, kNav2, kAdf, kDme, kXpdr };

}  // namespace radio_input
