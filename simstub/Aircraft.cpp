#include "simstub/Aircraft.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "simstub/AutopilotModel.h"
#include "simstub/RadioModel.h"

namespace simstub {
namespace {

using simconnect::Dword;

constexpr std::string_view kGearHandle = "GEAR HANDLE POSITION";
constexpr std::array<std::string_view, 3> kGearLegs = {"GEAR CENTER POSITION", "GEAR LEFT POSITION",
                                                       "GEAR RIGHT POSITION"};
constexpr double kGearUp = 0;
constexpr double kGearDown = 1;
// A leg travels its whole way in ten frames.
constexpr double kGearTravelPerFrame = 0.1;
// Ten steps of 0.1 do not add up to exactly 1: a leg that close reaches its stop.
constexpr double kGearStopTolerance = 1e-9;

// Events that set an axis take 0..16383 for its whole range.
constexpr Dword kAxisFull = 16383;

// Each effect gives the variable's new value from its current value and the event's datum.
using Effect = double (*)(double current, Dword datum);

double Toggle(double current, Dword) {
  return current != 0 ? 0 : 1;
}
double Switch(double, Dword datum) {
  return datum != 0 ? 1 : 0;
}
double Position(double, Dword datum) {
  return static_cast<std::int32_t>(datum);
}
double AxisPercent(double, Dword datum) {
  return std::min(datum, kAxisFull) * 100.0 / kAxisFull;
}
double HandleUp(double, Dword) {
  return kGearUp;
}
double HandleDown(double, Dword) {
  return kGearDown;
}

struct EventEffect {
  std::string_view event;
  std::string_view variable;
  Effect effect;
};

constexpr std::array kEventEffects = {
    EventEffect{"GEAR_UP", kGearHandle, HandleUp},
    EventEffect{"GEAR_DOWN", kGearHandle, HandleDown},
    EventEffect{"TOGGLE_MASTER_BATTERY", "ELECTRICAL MASTER BATTERY", Toggle},
    EventEffect{"TOGGLE_ALTERNATOR1", "GENERAL ENG MASTER ALTERNATOR:1", Toggle},
    EventEffect{"TOGGLE_ALTERNATOR2", "GENERAL ENG MASTER ALTERNATOR:2", Toggle},
    EventEffect{"TOGGLE_ALTERNATOR3", "GENERAL ENG MASTER ALTERNATOR:3", Toggle},
    EventEffect{"TOGGLE_ALTERNATOR4", "GENERAL ENG MASTER ALTERNATOR:4", Toggle},
    EventEffect{"TOGGLE_AVIONICS_MASTER", "AVIONICS MASTER SWITCH", Toggle},
    EventEffect{"TOGGLE_ELECT_FUEL_PUMP1", "GENERAL ENG FUEL PUMP SWITCH:1", Toggle},
    EventEffect{"TOGGLE_ELECT_FUEL_PUMP2", "GENERAL ENG FUEL PUMP SWITCH:2", Toggle},
    EventEffect{"TOGGLE_ELECT_FUEL_PUMP3", "GENERAL ENG FUEL PUMP SWITCH:3", Toggle},
    EventEffect{"TOGGLE_ELECT_FUEL_PUMP4", "GENERAL ENG FUEL PUMP SWITCH:4", Toggle},
    EventEffect{"ANTI_ICE_SET", "PANEL ANTI ICE SWITCH", Switch},
    EventEffect{"PITOT_HEAT_TOGGLE", "PITOT HEAT", Toggle},
    EventEffect{"COWLFLAP1_SET", "RECIP ENG COWL FLAP POSITION:1", AxisPercent},
    EventEffect{"COWLFLAP2_SET", "RECIP ENG COWL FLAP POSITION:2", AxisPercent},
    EventEffect{"COWLFLAP3_SET", "RECIP ENG COWL FLAP POSITION:3", AxisPercent},
    EventEffect{"COWLFLAP4_SET", "RECIP ENG COWL FLAP POSITION:4", AxisPercent},
    EventEffect{"PANEL_LIGHTS_TOGGLE", "LIGHT PANEL", Toggle},
    EventEffect{"TOGGLE_BEACON_LIGHTS", "LIGHT BEACON", Toggle},
    EventEffect{"TOGGLE_NAV_LIGHTS", "LIGHT NAV", Toggle},
    EventEffect{"STROBES_TOGGLE", "LIGHT STROBE", Toggle},
    EventEffect{"TOGGLE_TAXI_LIGHTS", "LIGHT TAXI", Toggle},
    EventEffect{"LANDING_LIGHTS_TOGGLE", "LIGHT LANDING", Toggle},
    // Magneto switch positions: 0 off, 1 right, 2 left, 3 both, 4 start.
    EventEffect{"MAGNETO1_SET", "RECIP ENG MAGNETO POSITION:1", Position},
    EventEffect{"MAGNETO2_SET", "RECIP ENG MAGNETO POSITION:2", Position},
    EventEffect{"MAGNETO3_SET", "RECIP ENG MAGNETO POSITION:3", Position},
    EventEffect{"MAGNETO4_SET", "RECIP ENG MAGNETO POSITION:4", Position},
};

}  // namespace

// Parked with retractable gear down and locked, radios tuned; every other variable at 0.
Aircraft::Aircraft() {
  Set("IS GEAR RETRACTABLE", 1);
  Set(kGearHandle, kGearDown);
  for (const auto leg : kGearLegs) Set(leg, kGearDown);
  TuneRadiosForStart(*this);
}

double Aircraft::Get(std::string_view variable) const {
  const auto found = variables_.find(variable);
  return found == variables_.end() ? 0 : found->second;
}

void Aircraft::Set(std::string_view variable, double value) {
  const auto found = variables_.find(variable);
  if (found == variables_.end()) {
    variables_.emplace(variable, value);
  } else {
    found->second = value;
  }
}

void Aircraft::Apply(std::string_view event, Dword datum) {
  for (const auto& row : kEventEffects) {
    if (SameName(row.event, event)) Set(row.variable, row.effect(Get(row.variable), datum));
  }
  ApplyAutopilotEvent(*this, event, datum);
  ApplyRadioEvent(*this, event);
}

void Aircraft::AdvanceFrame() {
  const double target = Get(kGearHandle) != 0 ? kGearDown : kGearUp;
  for (const auto leg : kGearLegs) {
    const double position = Get(leg);
    const double remaining = target - position;
    Set(leg, std::abs(remaining) <= kGearTravelPerFrame + kGearStopTolerance
                 ? target
                 : position + std::copysign(kGearTravelPerFrame, remaining));
  }
}

}  // namespace simstub
