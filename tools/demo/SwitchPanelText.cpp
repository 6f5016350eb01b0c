#include "tools/demo/SwitchPanelText.h"

#include <array>

namespace demo {

using namespace panels::switch_panel;

namespace {

// A rocker is on or off; a knob detent or lever position is only ever moved to.
enum class Kind { Rocker, Position };

struct Control {
  InputBit bit;
  Kind kind;
  const char* name;
};

constexpr std::array kControls = {
    Control{kMasterBatteryOn, Kind::Rocker, "battery"},
    Control{kMasterAlternatorOn, Kind::Rocker, "alternator"},
    Control{kAvionicsMasterOn, Kind::Rocker, "avionics"},
    Control{kFuelPumpOn, Kind::Rocker, "fuel pump"},
    Control{kDeIceOn, Kind::Rocker, "de-ice"},
    Control{kPitotHeatOn, Kind::Rocker, "pitot heat"},
    Control{kCowlFlapsClosed, Kind::Rocker, "cowl flaps closed"},
    Control{kPanelLightsOn, Kind::Rocker, "panel lights"},
    Control{kBeaconLightsOn, Kind::Rocker, "beacon"},
    Control{kNavLightsOn, Kind::Rocker, "nav lights"},
    Control{kStrobeLightsOn, Kind::Rocker, "strobes"},
    Control{kTaxiLightsOn, Kind::Rocker, "taxi lights"},
    Control{kLandingLightsOn, Kind::Rocker, "landing lights"},
    Control{kMagnetoOff, Kind::Position, "magneto OFF"},
    Control{kMagnetoRight, Kind::Position, "magneto R"},
    Control{kMagnetoLeft, Kind::Position, "magneto L"},
    Control{kMagnetoBoth, Kind::Position, "magneto BOTH"},
    Control{kMagnetoStart, Kind::Position, "magneto START"},
    Control{kGearLeverUp, Kind::Position, "gear lever UP"},
    Control{kGearLeverDown, Kind::Position, "gear lever DOWN"},
};

struct Gear {
  GearLamps lamps;
  const char* name;
};

constexpr std::array kGears = {Gear{kNoseGearLamps, "nose"}, Gear{kLeftGearLamps, "left"},
                               Gear{kRightGearLamps, "right"}};

void Append(std::string& text, const std::string& item) {
  if (!text.empty()) text += ", ";
  text += item;
}

}  // namespace

std::string DescribeMovement(SwitchInput previous, SwitchInput current) {
  std::string text;
  for (const Control& control : kControls) {
    const bool now = control.bit.In(current);
    if (now == control.bit.In(previous)) continue;
    if (control.kind == Kind::Rocker) {
      Append(text, std::string(control.name) + (now ? " on" : " off"));
    } else if (now) {
      Append(text, control.name);
    }
  }
  return text.empty() ? "nothing moved" : text;
}

std::string DescribeLamps(std::uint8_t lampBits) {
  std::string text;
  for (const Gear& gear : kGears) {
    const bool green = (lampBits & gear.lamps.green) != 0;
    const bool red = (lampBits & gear.lamps.red) != 0;
    // Both lamps of one gear together look yellow.
    const char* colour = green && red ? "yellow" : green ? "green" : red ? "red" : "off";
    Append(text, std::string(gear.name) + " " + colour);
  }
  return text;
}

}  // namespace demo
