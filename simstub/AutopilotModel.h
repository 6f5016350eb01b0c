#pragma once

#include <string_view>

#include "simlink/SimConnectApi.h"

namespace simstub {

class Aircraft;

// The autopilot's part of the aircraft: what the autopilot panel's events do to the
// settings, the holds, the flaps and the trim. Events it does not know leave it alone.
void ApplyAutopilotEvent(Aircraft& aircraft, std::string_view event, simconnect::Dword datum);

}  // namespace simstub
