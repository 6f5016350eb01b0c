#pragma once

// The radio panel's reports: the input report of its selectors, swap buttons and encoders,
// and the feature report that fills its four five-digit windows.

#include <array>
#include <cstddef>
#include <cstdint>

namespace panels::radio_panel {

// Input report: byte 0 is the report id and carries nothing; bytes 1 to 3 hold one bit per
// selector position, button and encoder direction. An encoder bit is set for the report
// after one step in its direction.
inline constexpr std::size_t kInputReportLength = 4;
using InputBytes = std::array<std::uint8_t, kInputReportLength>;

struct InputBit {
  std::uint8_t byte;
  std::uint8_t mask;

  constexpr bool In(const InputBytes& report) const { return (report[byte] & mask) != 0; }
};

// The upper selector takes bits 0 to 6 of byte 1 (bit n for mode n); the lower one starts
// at bit 7 of byte 1 and goes on in bits 0 to 5 of byte 2 (bit n for mode n + 1).
inline constexpr std::uint8_t kUpperSelectorBits = 0x7F;
inline constexpr std::uint8_t kLowerSelectorFirstBit = 0x80;
inline constexpr std::uint8_t kLowerSelectorRestBits = 0x3F;

// The controls of one row besides its selector.
enum class Control : std::size_t {
  CoarseIncrement,
  CoarseDecrement,
  FineIncrement,
  FineDecrement,
  Swap
};
inline constexpr std::size_t kControlCount = 5;

using RowControls = std::array<InputBit, kControlCount>;

inline constexpr RowControls kUpperControls = {
    InputBit{3, 0x04}, InputBit{3, 0x08}, InputBit{3, 0x01}, InputBit{3, 0x02}, InputBit{2, 0x40}};
inline constexpr RowControls kLowerControls = {
    InputBit{3, 0x40}, InputBit{3, 0x80}, InputBit{3, 0x10}, InputBit{3, 0x20}, InputBit{2, 0x80}};

// Display feature report: the report id, then the four windows of five digits each, upper
// row left and right, lower row left and right, then two bytes that are 0 in every display
// report. Read from a unit, a report of this length carries the selectors in bytes 1 and
// 2, laid out as in the input report.
inline constexpr std::size_t kDigitsPerWindow = 5;
inline constexpr std::size_t kDisplayReportLength = 23;
using Window = std::array<std::uint8_t, kDigitsPerWindow>;
using DisplayReport = std::array<std::uint8_t, kDisplayReportLength>;

inline constexpr std::size_t kUpperLeftWindow = 1;
inline constexpr std::size_t kUpperRightWindow = 6;
inline constexpr std::size_t kLowerLeftWindow = 11;
inline constexpr std::size_t kLowerRightWindow = 16;

// Digit codes: 0x00 to 0x09 show the digit, the digit OR 0xD0 shows it followed by a lit
// decimal point, 0xFF leaves the digit dark.
inline constexpr std::uint8_t kDecimalPoint = 0xD0;
inline constexpr std::uint8_t kDarkDigit = 0xFF;

inline constexpr Window kDarkWindow = {kDarkDigit, kDarkDigit, kDarkDigit, kDarkDigit, kDarkDigit};

// Every digit dark, the two closing bytes too: what a unit shows once it is let go.
constexpr DisplayReport MakeBlankReport() {
  DisplayReport report{};
  for (std::size_t i = 1; i < report.size(); ++i) report[i] = kDarkDigit;
  return report;
}
inline constexpr DisplayReport kBlankReport = MakeBlankReport();

}  // namespace panels::radio_panel
