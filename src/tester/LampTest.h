#pragma once

// The endless lamp test: each gear's green lamp, then both, then its red one, nose, left
// and right in turn, then all dark; on the panel and in the picture alike.

#include <array>
#include <cstdint>

#include "panels/SwitchPanelReports.h"
#include "tester/SwitchLayout.h"

namespace tester {

struct LampTestStep {
  std::uint8_t lampBits;  // byte 1 of the gear-light report
  LampState nose;
  LampState left;
  LampState right;
};

namespace lamp_test {

namespace sp = panels::switch_panel;
constexpr auto kOff = LampState::Off;
constexpr auto kGreen = LampState::Green;
constexpr auto kRed = LampState::Red;
constexpr auto kBoth = LampState::GreenAndRed;

constexpr std::uint8_t Both(sp::GearLamps lamps) {
  return lamps.green | lamps.red;
}

}  // namespace lamp_test

inline constexpr std::array<LampTestStep, 10> kLampTestSteps = [] {
  using namespace lamp_test;
  return std::array<LampTestStep, 10>{{
      {sp::kAllLampsOff, kOff, kOff, kOff},
      {sp::kNoseGearLamps.green, kGreen, kOff, kOff},
      {Both(sp::kNoseGearLamps), kBoth, kOff, kOff},
      {sp::kNoseGearLamps.red, kRed, kOff, kOff},
      {sp::kLeftGearLamps.green, kOff, kGreen, kOff},
      {Both(sp::kLeftGearLamps), kOff, kBoth, kOff},
      {sp::kLeftGearLamps.red, kOff, kRed, kOff},
      {sp::kRightGearLamps.green, kOff, kOff, kGreen},
      {Both(sp::kRightGearLamps), kOff, kOff, kBoth},
      {sp::kRightGearLamps.red, kOff, kOff, kRed},
  }};
}();

// The step after `step`; after the last, or anything beyond it, the first.
constexpr int NextLampTestStep(int step) {
  return step >= static_cast<int>(kLampTestSteps.size()) - 1 ? 0 : step + 1;
}

}  // namespace tester
