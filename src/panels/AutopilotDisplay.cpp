#include "panels/AutopilotDisplay.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace panels::autopilot_panel {
namespace {

constexpr std::uint8_t kCellZero = 0x00;
constexpr Cells kNoReading{kCellMinus, kCellMinus, kCellMinus, kCellMinus, kCellMinus};
constexpr Cells kBlankRow{kCellBlank, kCellBlank, kCellBlank, kCellBlank, kCellBlank};

// Beyond this the vertical speed shows its thousands digit.
constexpr float kThousandsShown = 999.9f;

// The digit at `place` (1, 10, 100, ...). The remainder is taken in floating point, which
// is exact for every finite value, so a value beyond the integer range still gives the
// digit it holds at that place.
std::uint8_t Digit(float value, float place) {
  const float quotient = value / place;
  return static_cast<std::uint8_t>(std::fmod(std::trunc(std::fabs(quotient)), 10.0f));
}

// Per selector position, the value shown as three digits over a blank row; none for the
// positions that show altitude over vertical speed.
constexpr std::array<std::optional<SimItem>, kSelectorPositions> kThreeDigitValue = {
    std::nullopt, std::nullopt, SimItem::AirspeedHoldVar, SimItem::HeadingLockDir, SimItem::NavObs1,
};

struct LightRow {
  std::uint8_t bit;
  SimItem lock;
};

constexpr std::array kLights = {
    LightRow{kLightAp, SimItem::Master},        LightRow{kLightHdg, SimItem::HeadingLock},
    LightRow{kLightNav, SimItem::Nav1Lock},     LightRow{kLightIas, SimItem::AirspeedHold},
    LightRow{kLightAlt, SimItem::AltitudeLock}, LightRow{kLightVs, SimItem::VerticalHold},
    LightRow{kLightApr, SimItem::ApproachHold}, LightRow{kLightRev, SimItem::BackcourseHold},
};

void PutRow(DisplayReport& report, std::size_t at, const Cells& cells) {
  std::ranges::copy(cells, report.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

Cells FormatAltitude(float feet) {
  if (!std::isfinite(feet)) return kNoReading;
  return {Digit(feet, 10000), Digit(feet, 1000), Digit(feet, 100), kCellZero, kCellZero};
}

Cells FormatVerticalSpeed(float feetPerMinute) {
  if (!std::isfinite(feetPerMinute)) return kNoReading;
  const bool thousandsDown = feetPerMinute < -kThousandsShown;
  const bool thousandsUp = feetPerMinute > kThousandsShown;
  const std::uint8_t signOrThousands = thousandsDown || thousandsUp ? Digit(feetPerMinute, 1000)
                                       : feetPerMinute < 0          ? kCellMinus
                                                                    : kCellBlank;
  return {thousandsDown ? kCellMinus : kCellBlank, signOrThousands, Digit(feetPerMinute, 100),
          kCellZero, kCellZero};
}

Cells FormatThreeDigits(float value) {
  if (!std::isfinite(value)) return {kCellBlank, kCellBlank, kCellMinus, kCellMinus, kCellMinus};
  return {kCellBlank, kCellBlank, Digit(value, 100), Digit(value, 10), Digit(value, 1)};
}

DisplayReport ComposeDisplay(Selector position, const AutopilotData& record) {
  DisplayReport report{};
  const auto shown = kThreeDigitValue[static_cast<std::size_t>(position)];
  if (shown) {
    PutRow(report, kFirstRowAt, FormatThreeDigits(record.Float(*shown)));
    PutRow(report, kSecondRowAt, kBlankRow);
  } else {
    PutRow(report, kFirstRowAt, FormatAltitude(record.Float(SimItem::AltitudeLockVar)));
    PutRow(report, kSecondRowAt, FormatVerticalSpeed(record.Float(SimItem::VerticalHoldVar)));
  }
  for (const LightRow& light : kLights) {
    if (record.IsSet(light.lock)) report[kLightsAt] |= light.bit;
  }
  return report;
}

}  // namespace panels::autopilot_panel
