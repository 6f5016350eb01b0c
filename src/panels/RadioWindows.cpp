#include "panels/RadioWindows.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace panels::radio_panel {
namespace {

// One digit of a window that copies nibbles of a value: nibble k is bits 4k to 4k+3.
struct NibbleDigit {
  int nibble;  // negative: the fixed code stands there instead
  std::uint8_t fixed;
  bool point;
};

constexpr NibbleDigit Nibble(int nibble) {
  return {nibble, 0, false};
}
constexpr NibbleDigit NibbleWithPoint(int nibble) {
  return {nibble, 0, true};
}
constexpr NibbleDigit Fixed(std::uint8_t code) {
  return {-1, code, false};
}

using NibbleFormat = std::array<NibbleDigit, kDigitsPerWindow>;

// Radio frequencies all have a hundreds digit of 1, which the value leaves out.
constexpr NibbleFormat kFrequencyFormat = {Fixed(0x01), Nibble(3), NibbleWithPoint(2), Nibble(1),
                                           Nibble(0)};
constexpr NibbleFormat kAdfFormat = {Nibble(7), Nibble(6), Nibble(5), NibbleWithPoint(4),
                                     Nibble(3)};
constexpr NibbleFormat kTransponderFormat = {Fixed(kDarkDigit), Nibble(3), Nibble(2), Nibble(1),
                                             Nibble(0)};

Window NibbleWindow(const NibbleFormat& format, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  Window window{};
  for (std::size_t i = 0; i < window.size(); ++i) {
    const NibbleDigit& digit = format[i];
    if (digit.nibble < 0) {
      window[i] = digit.fixed;
      continue;
    }
    const auto nibble = static_cast<std::uint8_t>((bits >> (4 * digit.nibble)) & 0x0F);
    window[i] = digit.point ? static_cast<std::uint8_t>(nibble | kDecimalPoint) : nibble;
  }
  return window;
}

// The DME window's digits after its dark first one, each the units of the value scaled
// by its place: hundreds, tens, units (with the point) and tenths.
constexpr std::size_t kDmeUnitsDigit = 2;

std::array<float, kDigitsPerWindow - 1> DmeScaled(float value) {
  // Each quotient and product is rounded to single precision on its own.
  return {static_cast<float>(value / 100.0f), static_cast<float>(value / 10.0f), value,
          static_cast<float>(value * 10.0f)};
}

// The range within which a single-precision value truncates to an int32.
constexpr float kInt32Low = -2147483648.0f;
constexpr float kInt32High = 2147483648.0f;

bool FitsInt32(float value) {
  return value >= kInt32Low && value < kInt32High;
}

struct WindowSource {
  enum class Format { Dark, Frequency, Adf, Transponder, Dme } format;
  SimItem item;
};
using Format = WindowSource::Format;

constexpr WindowSource Dark() {
  return {Format::Dark, SimItem{}};
}

struct ModeWindows {
  WindowSource left;
  WindowSource right;
};

// By mode: what the row's left and right windows show.
constexpr std::array<ModeWindows, kModeCount> kModeWindows = {{
    {{Format::Frequency, SimItem::Com1Active}, {Format::Frequency, SimItem::Com1Standby}},
    {{Format::Frequency, SimItem::Com2Active}, {Format::Frequency, SimItem::Com2Standby}},
    {{Format::Frequency, SimItem::Nav1Active}, {Format::Frequency, SimItem::Nav1Standby}},
    {{Format::Frequency, SimItem::Nav2Active}, {Format::Frequency, SimItem::Nav2Standby}},
    {Dark(), {Format::Adf, SimItem::AdfActive}},
    {{Format::Dme, SimItem::DmeDistance}, {Format::Dme, SimItem::DmeSpeed}},
    {Dark(), {Format::Transponder, SimItem::TransponderCode}},
}};

Window Show(const WindowSource& source, const RadioRecord& record) {
  switch (source.format) {
    case Format::Frequency:
      return FrequencyWindow(record.Int(source.item));
    case Format::Adf:
      return AdfWindow(record.Int(source.item));
    case Format::Transponder:
      return TransponderWindow(record.Int(source.item));
    case Format::Dme:
      return DmeWindow(record.Float(source.item));
    case Format::Dark:
      break;
  }
  return kDarkWindow;
}

void Place(DisplayReport& report, std::size_t offset, const Window& window) {
  std::ranges::copy(window, report.begin() + static_cast<std::ptrdiff_t>(offset));
}

// A row whose mode is none of the selector's positions shows nothing.
ModeWindows WindowsOf(std::int32_t mode) {
  if (mode < 0 || static_cast<std::size_t>(mode) >= kModeWindows.size()) return {Dark(), Dark()};
  return kModeWindows[static_cast<std::size_t>(mode)];
}

}  // namespace

Window FrequencyWindow(std::int32_t bcd16) {
  return NibbleWindow(kFrequencyFormat, bcd16);
}

Window AdfWindow(std::int32_t bcd32) {
  return NibbleWindow(kAdfFormat, bcd32);
}

Window TransponderWindow(std::int32_t bco16) {
  return NibbleWindow(kTransponderFormat, bco16);
}

Window DmeWindow(float value) {
  const auto scaled = DmeScaled(value);
  // One digit that cannot be had leaves the whole window dark, not a part of a number.
  if (!std::ranges::all_of(scaled, FitsInt32)) return kDarkWindow;
  Window window = kDarkWindow;
  for (std::size_t i = 0; i < scaled.size(); ++i) {
    const auto digit = static_cast<std::uint8_t>(static_cast<std::int32_t>(scaled[i]) % 10);
    window[i + 1] = i == kDmeUnitsDigit ? static_cast<std::uint8_t>(digit | kDecimalPoint) : digit;
  }
  return window;
}

DisplayReport ComposeDisplay(std::int32_t upperMode, std::int32_t lowerMode,
                             const RadioRecord& record) {
  DisplayReport report{};
  const ModeWindows upper = WindowsOf(upperMode);
  const ModeWindows lower = WindowsOf(lowerMode);
  Place(report, kUpperLeftWindow, Show(upper.left, record));
  Place(report, kUpperRightWindow, Show(upper.right, record));
  Place(report, kLowerLeftWindow, Show(lower.left, record));
  Place(report, kLowerRightWindow, Show(lower.right, record));
  return report;
}

}  // namespace panels::radio_panel
