#include "simstub/AutopilotModel.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "simstub/Aircraft.h"
#include "simstub/Names.h"

namespace simstub {
namespace {

enum class Kind {
  Step,        // by `step`, held within low..high
  CircleStep,  // by `step`, round the compass rose of low..high
  Toggle,      // flips between 0 and 1
  Engage,      // 1 for a datum other than 0, else 0
};

struct AutopilotEffect {
  std::string_view event;
  std::string_view variable;
  Kind kind;
  double step = 0;
  double low = 0;
  double high = 0;
};

constexpr AutopilotEffect Step(std::string_view event, std::string_view variable, double step,
                               double low, double high) {
  return {event, variable, Kind::Step, step, low, high};
}
constexpr AutopilotEffect Bearing(std::string_view event, std::string_view variable, double step) {
  return {event, variable, Kind::CircleStep, step, 0, 360};
}
constexpr AutopilotEffect Toggle(std::string_view event, std::string_view variable) {
  return {event, variable, Kind::Toggle};
}
constexpr AutopilotEffect Engage(std::string_view event, std::string_view variable) {
  return {event, variable, Kind::Engage};
}

constexpr std::string_view kAltitude = "AUTOPILOT ALTITUDE LOCK VAR";
constexpr std::string_view kVerticalSpeed = "AUTOPILOT VERTICAL HOLD VAR";
constexpr std::string_view kAirspeed = "AUTOPILOT AIRSPEED HOLD VAR";
constexpr std::string_view kHeadingBug = "AUTOPILOT HEADING LOCK DIR";
constexpr std::string_view kCourse = "NAV OBS:1";
constexpr std::string_view kFlaps = "FLAPS HANDLE INDEX";
constexpr std::string_view kTrim = "ELEVATOR TRIM PCT";

// Settings move a hundred feet, a hundred feet a minute, a knot or a degree per step; the
// flaps handle has four positions, 0 retracted; the trim runs from full nose down at -100
// to full nose up at 100 percent.
constexpr std::array kAutopilotEffects = {
    Step("AP_ALT_VAR_INC", kAltitude, 100, 0, 99900),
    Step("AP_ALT_VAR_DEC", kAltitude, -100, 0, 99900),
    Step("AP_VS_VAR_INC", kVerticalSpeed, 100, -9900, 9900),
    Step("AP_VS_VAR_DEC", kVerticalSpeed, -100, -9900, 9900),
    Step("AP_SPD_VAR_INC", kAirspeed, 1, 0, 999),
    Step("AP_SPD_VAR_DEC", kAirspeed, -1, 0, 999),
    Bearing("HEADING_BUG_INC", kHeadingBug, 1),
    Bearing("HEADING_BUG_DEC", kHeadingBug, -1),
    Bearing("VOR1_OBI_INC", kCourse, 1),
    Bearing("VOR1_OBI_DEC", kCourse, -1),
    Toggle("AP_MASTER", "AUTOPILOT MASTER"),
    Engage("AP_PANEL_HEADING_SET", "AUTOPILOT HEADING LOCK"),
    Toggle("AP_NAV1_HOLD", "AUTOPILOT NAV1 LOCK"),
    Toggle("AP_APR_HOLD", "AUTOPILOT APPROACH HOLD"),
    Toggle("AP_BC_HOLD", "AUTOPILOT BACKCOURSE HOLD"),
    Engage("AP_PANEL_ALTITUDE_SET", "AUTOPILOT ALTITUDE LOCK"),
    Toggle("AP_VS_HOLD", "AUTOPILOT VERTICAL HOLD"),
    Engage("AP_PANEL_SPEED_SET", "AUTOPILOT AIRSPEED HOLD"),
    Toggle("AUTO_THROTTLE_ARM", "AUTOPILOT THROTTLE ARM"),
    Step("FLAPS_INCR", kFlaps, 1, 0, 3),
    Step("FLAPS_DECR", kFlaps, -1, 0, 3),
    Step("ELEV_TRIM_UP", kTrim, 1, -100, 100),
    Step("ELEV_TRIM_DN", kTrim, -1, -100, 100),
};

double Effect(const AutopilotEffect& row, double current, simconnect::Dword datum) {
  switch (row.kind) {
    case Kind::Step:
      return std::clamp(current + row.step, row.low, row.high);
    case Kind::CircleStep: {
      const double span = row.high - row.low;
      return row.low + std::fmod(std::fmod(current + row.step - row.low, span) + span, span);
    }
    case Kind::Toggle:
      return current != 0 ? 0 : 1;
    case Kind::Engage:
      return datum != 0 ? 1 : 0;
  }
  return current;
}

}  // namespace

void ApplyAutopilotEvent(Aircraft& aircraft, std::string_view event, simconnect::Dword datum) {
  for (const auto& row : kAutopilotEffects) {
    if (SameName(row.event, event)) {
      aircraft.Set(row.variable, Effect(row, aircraft.Get(row.variable), datum));
    }
  }
}

}  // namespace simstub
