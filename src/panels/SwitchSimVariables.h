#pragma once

// What the switch panel asks of the simulator: the variables of its data record and the
// client events its controls send.

#include <array>
#include <cstddef>

#include "simlink/SimConnectApi.h"

namespace panels::switch_panel {

// The record's items in datum order: the enumerator is the datum id and the item's place
// in the record, 32 bits each.
enum class SimItem : std::size_t {
  MasterBattery,
  Alternator1,
  Alternator2,
  Alternator3,
  Alternator4,
  AvionicsMaster,
  FuelPump1,
  FuelPump2,
  FuelPump3,
  FuelPump4,
  AntiIce,
  PitotHeat,
  CowlFlap1,
  CowlFlap2,
  CowlFlap3,
  CowlFlap4,
  PanelLight,
  BeaconLight,
  NavLight,
  StrobeLight,
  TaxiLight,
  LandingLight,
  GearHandle,
  GearRetractable,
  GearCenter,
  GearLeft,
  GearRight,
};

struct DataItem {
  const char* variable;
  const char* units;
  simconnect::DataType type;
  float epsilon;
};

constexpr DataItem BoolItem(const char* variable) {
  return {variable, "Bool", simconnect::kDataTypeInt32, 0.0f};
}
constexpr DataItem FloatItem(const char* variable, const char* units, float epsilon) {
  return {variable, units, simconnect::kDataTypeFloat32, epsilon};
}

// A cowl flap drifts by small amounts nobody needs to hear about.
inline constexpr float kCowlFlapEpsilon = 0.05f;

inline constexpr std::array kDataItems = {
    BoolItem("ELECTRICAL MASTER BATTERY"),
    BoolItem("GENERAL ENG MASTER ALTERNATOR:1"),
    BoolItem("GENERAL ENG MASTER ALTERNATOR:2"),
    BoolItem("GENERAL ENG MASTER ALTERNATOR:3"),
    BoolItem("GENERAL ENG MASTER ALTERNATOR:4"),
    BoolItem("AVIONICS MASTER SWITCH"),
    BoolItem("GENERAL ENG FUEL PUMP SWITCH:1"),
    BoolItem("GENERAL ENG FUEL PUMP SWITCH:2"),
    BoolItem("GENERAL ENG FUEL PUMP SWITCH:3"),
    BoolItem("GENERAL ENG FUEL PUMP SWITCH:4"),
    BoolItem("PANEL ANTI ICE SWITCH"),
    BoolItem("PITOT HEAT"),
    FloatItem("RECIP ENG COWL FLAP POSITION:1", "Percent", kCowlFlapEpsilon),
    FloatItem("RECIP ENG COWL FLAP POSITION:2", "Percent", kCowlFlapEpsilon),
    FloatItem("RECIP ENG COWL FLAP POSITION:3", "Percent", kCowlFlapEpsilon),
    FloatItem("RECIP ENG COWL FLAP POSITION:4", "Percent", kCowlFlapEpsilon),
    BoolItem("LIGHT PANEL"),
    BoolItem("LIGHT BEACON"),
    BoolItem("LIGHT NAV"),
    BoolItem("LIGHT STROBE"),
    BoolItem("LIGHT TAXI"),
    BoolItem("LIGHT LANDING"),
    BoolItem("GEAR HANDLE POSITION"),
    BoolItem("IS GEAR RETRACTABLE"),
    FloatItem("GEAR CENTER POSITION", "Percent Over 100", 0.0f),
    FloatItem("GEAR LEFT POSITION", "Percent Over 100", 0.0f),
    FloatItem("GEAR RIGHT POSITION", "Percent Over 100", 0.0f),
};
static_assert(kDataItems.size() == static_cast<std::size_t>(SimItem::GearRight) + 1);

// The client events in the order they are mapped; the enumerator is the entry's place.
enum class SimEvent : std::size_t {
  GearUp,
  GearDown,
  ToggleMasterBattery,
  ToggleAlternator1,
  ToggleAlternator2,
  ToggleAlternator3,
  ToggleAlternator4,
  ToggleAvionicsMaster,
  ToggleFuelPump1,
  ToggleFuelPump2,
  ToggleFuelPump3,
  ToggleFuelPump4,
  AntiIceSet,
  PitotHeatToggle,
  CowlFlap1Set,
  CowlFlap2Set,
  CowlFlap3Set,
  CowlFlap4Set,
  PanelLightsToggle,
  BeaconLightsToggle,
  NavLightsToggle,
  StrobesToggle,
  TaxiLightsToggle,
  LandingLightsToggle,
  Magneto1Set,
  Magneto2Set,
  Magneto3Set,
  Magneto4Set,
};

inline constexpr std::array kEventNames = {
    "GEAR_UP",
    "GEAR_DOWN",
    "TOGGLE_MASTER_BATTERY",
    "TOGGLE_ALTERNATOR1",
    "TOGGLE_ALTERNATOR2",
    "TOGGLE_ALTERNATOR3",
    "TOGGLE_ALTERNATOR4",
    "TOGGLE_AVIONICS_MASTER",
    "TOGGLE_ELECT_FUEL_PUMP1",
    "TOGGLE_ELECT_FUEL_PUMP2",
    "TOGGLE_ELECT_FUEL_PUMP3",
    "TOGGLE_ELECT_FUEL_PUMP4",
    "ANTI_ICE_SET",
    "PITOT_HEAT_TOGGLE",
    "COWLFLAP1_SET",
    "COWLFLAP2_SET",
    "COWLFLAP3_SET",
    "COWLFLAP4_SET",
    "PANEL_LIGHTS_TOGGLE",
    "TOGGLE_BEACON_LIGHTS",
    "TOGGLE_NAV_LIGHTS",
    "STROBES_TOGGLE",
    "TOGGLE_TAXI_LIGHTS",
    "LANDING_LIGHTS_TOGGLE",
    "MAGNETO1_SET",
    "MAGNETO2_SET",
    "MAGNETO3_SET",
    "MAGNETO4_SET",
};
static_assert(kEventNames.size() == static_cast<std::size_t>(SimEvent::Magneto4Set) + 1);

}  // namespace panels::switch_panel
