#pragma once

// What the autopilot panel asks of the simulator: the variables of its data record and
// the client events its controls send.

#include <array>
#include <cstddef>

#include "simlink/SimConnectApi.h"

namespace panels::autopilot_panel {

// The record's items in datum order: the enumerator is the datum id and the item's place
// in the record, 32 bits each. The settings come first as floats, the locks after them.
enum class SimItem : std::size_t {
  AltitudeLockVar,
  VerticalHoldVar,
  HeadingLockDir,
  AirspeedHoldVar,
  NavObs1,
  ThrottleArm,
  Master,
  HeadingLock,
  Nav1Lock,
  ApproachHold,
  BackcourseHold,
  AltitudeLock,
  VerticalHold,
  AirspeedHold,
};

struct DataItem {
  const char* variable;
  const char* units;
  simconnect::DataType type;
};

constexpr DataItem Setting(const char* variable, const char* units) {
  return {variable, units, simconnect::kDataTypeFloat32};
}
constexpr DataItem Lock(const char* variable) {
  return {variable, "BOOL", simconnect::kDataTypeInt32};
}

inline constexpr std::array kDataItems = {
    Setting("AUTOPILOT ALTITUDE LOCK VAR", "Feet"),
    Setting("AUTOPILOT VERTICAL HOLD VAR", "Feet/Minute"),
    Setting("AUTOPILOT HEADING LOCK DIR", "Degrees"),
    Setting("AUTOPILOT AIRSPEED HOLD VAR", "Knots"),
    Setting("NAV OBS:1", "Degrees"),
    Lock("AUTOPILOT THROTTLE ARM"),
    Lock("AUTOPILOT MASTER"),
    Lock("AUTOPILOT HEADING LOCK"),
    Lock("AUTOPILOT NAV1 LOCK"),
    Lock("AUTOPILOT APPROACH HOLD"),
    Lock("AUTOPILOT BACKCOURSE HOLD"),
    Lock("AUTOPILOT ALTITUDE LOCK"),
    Lock("AUTOPILOT VERTICAL HOLD"),
    Lock("AUTOPILOT AIRSPEED HOLD"),
};
static_assert(kDataItems.size() == static_cast<std::size_t>(SimItem::AirspeedHold) + 1);

// The client events in the order they are mapped; the enumerator is the entry's place.
enum class SimEvent : std::size_t {
  AltVarInc,
  AltVarDec,
  VsVarInc,
  VsVarDec,
  SpdVarInc,
  SpdVarDec,
  HeadingBugInc,
  HeadingBugDec,
  Vor1ObiInc,
  Vor1ObiDec,
  Master,
  PanelHeadingSet,
  Nav1Hold,
  AprHold,
  BcHold,
  PanelAltitudeSet,
  VsHold,
  PanelSpeedSet,
  AutoThrottleArm,
  FlapsIncr,
  FlapsDecr,
  ElevTrimUp,
  ElevTrimDn,
};

inline constexpr std::array kEventNames = {
    "AP_ALT_VAR_INC", "AP_ALT_VAR_DEC",     "AP_VS_VAR_INC",     "AP_VS_VAR_DEC",
    "AP_SPD_VAR_INC", "AP_SPD_VAR_DEC",     "HEADING_BUG_INC",   "HEADING_BUG_DEC",
    "VOR1_OBI_INC",   "VOR1_OBI_DEC",       "AP_MASTER",         "AP_PANEL_HEADING_SET",
    "AP_NAV1_HOLD",   "AP_APR_HOLD",        "AP_BC_HOLD",        "AP_PANEL_ALTITUDE_SET",
    "AP_VS_HOLD",     "AP_PANEL_SPEED_SET", "AUTO_THROTTLE_ARM", "FLAPS_INCR",
    "FLAPS_DECR",     "ELEV_TRIM_UP",       "ELEV_TRIM_DN",
};
static_assert(kEventNames.size() == static_cast<std::size_t>(SimEvent::ElevTrimDn) + 1);

}  // namespace panels::autopilot_panel
