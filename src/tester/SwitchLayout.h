#pragma once

// Where the picture of the switch panel shows each control: one row per input-report bit,
// with the overlay drawn while the bit is set and the area repainted when it changes, and
// the three gear lamps.

#include <array>
#include <cstdint>

#include "panels/SwitchPanelReports.h"
#include "platform/canvas.h"
#include "tester/resources/ResourceIds.h"

namespace tester {

using panels::switch_panel::InputBit;
using platform::Point;
using platform::Rect;

inline constexpr std::uint16_t kPanelFace = IDB_PANEL_FACE;
inline constexpr std::uint16_t kNoOverlay = 0;

struct SwitchRow {
  InputBit bit;
  std::uint16_t overlay;
  Point origin;
  Rect repaint;
};

namespace layout {

// Every toggle repaints the same size of area, whatever the size of its overlay.
constexpr Rect ToggleArea(Point origin) {
  return {origin.x, origin.y, origin.x + 20, origin.y + 56};
}

inline constexpr Point kKnob{33, 61};
inline constexpr Rect kKnobArea{33, 61, 144, 172};
inline constexpr Point kLever{533, 60};
inline constexpr Rect kLeverArea{533, 60, 593, 188};

constexpr SwitchRow Toggle(InputBit bit, std::uint16_t overlay, Point origin) {
  return {bit, overlay, origin, ToggleArea(origin)};
}

}  // namespace layout

namespace sp = panels::switch_panel;

// In report order: byte 1 to 3, each from bit 0 up. Later overlays are drawn over earlier.
inline constexpr std::array kSwitchRows = {
    layout::Toggle(sp::kMasterBatteryOn, IDB_MASTER_BATTERY, {202, 43}),
    layout::Toggle(sp::kMasterAlternatorOn, IDB_MASTER_ALTERNATOR, {236, 43}),
    layout::Toggle(sp::kAvionicsMasterOn, IDB_AVIONICS_MASTER, {283, 43}),
    layout::Toggle(sp::kFuelPumpOn, IDB_FUEL_PUMP, {321, 43}),
    layout::Toggle(sp::kDeIceOn, IDB_DE_ICE, {361, 43}),
    layout::Toggle(sp::kPitotHeatOn, IDB_PITOT_HEAT, {400, 43}),
    layout::Toggle(sp::kCowlFlapsClosed, IDB_COWL_CLOSED, {144, 138}),
    layout::Toggle(sp::kPanelLightsOn, IDB_PANEL_LIGHTS, {204, 138}),
    layout::Toggle(sp::kBeaconLightsOn, IDB_BEACON_LIGHTS, {244, 138}),
    layout::Toggle(sp::kNavLightsOn, IDB_NAV_LIGHTS, {283, 138}),
    layout::Toggle(sp::kStrobeLightsOn, IDB_STROBE_LIGHTS, {322, 138}),
    layout::Toggle(sp::kTaxiLightsOn, IDB_TAXI_LIGHTS, {361, 138}),
    layout::Toggle(sp::kLandingLightsOn, IDB_LANDING_LIGHTS, {399, 138}),
    SwitchRow{sp::kMagnetoOff, IDB_MAGNETO_OFF, layout::kKnob, layout::kKnobArea},
    SwitchRow{sp::kMagnetoRight, IDB_MAGNETO_RIGHT, layout::kKnob, layout::kKnobArea},
    SwitchRow{sp::kMagnetoLeft, IDB_MAGNETO_LEFT, layout::kKnob, layout::kKnobArea},
    SwitchRow{sp::kMagnetoBoth, IDB_MAGNETO_BOTH, layout::kKnob, layout::kKnobArea},
    SwitchRow{sp::kMagnetoStart, IDB_MAGNETO_START, layout::kKnob, layout::kKnobArea},
    SwitchRow{sp::kGearLeverUp, IDB_GEAR_LEVER_UP, layout::kLever, layout::kLeverArea},
    // The panel face shows the lever down.
    SwitchRow{sp::kGearLeverDown, kNoOverlay, {}, layout::kLeverArea},
};

// The bitmaps the picture is painted from: the face, then every overlay.
inline constexpr std::array<std::uint16_t, 20> kPictureBitmaps = {
    kPanelFace,       IDB_MASTER_BATTERY, IDB_MASTER_ALTERNATOR, IDB_AVIONICS_MASTER,
    IDB_FUEL_PUMP,    IDB_DE_ICE,         IDB_PITOT_HEAT,        IDB_COWL_CLOSED,
    IDB_PANEL_LIGHTS, IDB_BEACON_LIGHTS,  IDB_NAV_LIGHTS,        IDB_STROBE_LIGHTS,
    IDB_TAXI_LIGHTS,  IDB_LANDING_LIGHTS, IDB_MAGNETO_OFF,       IDB_MAGNETO_RIGHT,
    IDB_MAGNETO_LEFT, IDB_MAGNETO_BOTH,   IDB_MAGNETO_START,     IDB_GEAR_LEVER_UP,
};

// A gear lamp: 0 off, 1 green, 2 red, 3 both (shown yellow).
enum class LampState : std::int32_t { Off = 0, Green = 1, Red = 2, GreenAndRed = 3 };

inline constexpr int kLampDiameter = 14;
inline constexpr Point kNoseLamp{472, 102};
inline constexpr Point kLeftLamp{453, 137};
inline constexpr Point kRightLamp{491, 137};
// Repainted whenever the lamps are set.
inline constexpr Rect kLampArea{438, 86, 510, 155};

inline constexpr platform::Rgb kLampGreen{0, 255, 0};
inline constexpr platform::Rgb kLampRed{255, 0, 0};
inline constexpr platform::Rgb kLampYellow{255, 255, 0};
inline constexpr std::array kLampColours = {kLampRed, kLampGreen, kLampYellow};

constexpr platform::Rgb LampColour(LampState state) {
  switch (state) {
    case LampState::Green:
      return kLampGreen;
    case LampState::Red:
      return kLampRed;
    default:
      return kLampYellow;
  }
}

constexpr Rect LampBox(Point centre) {
  return {centre.x - kLampDiameter / 2, centre.y - kLampDiameter / 2, centre.x + kLampDiameter / 2,
          centre.y + kLampDiameter / 2};
}

}  // namespace tester
