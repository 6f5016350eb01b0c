#pragma once

#include <ostream>

namespace demo {

// Flies a short scripted flight through the plug-in's real main window, with virtual
// switch, autopilot and radio panels on the stand-in HID bus and the stand-in simulator,
// and writes what happens to `trace`: each panel input, each client event, the simulator's
// resulting state and each panel output. True when every step came out as its script
// says. Runs on the calling thread, which must have no window of its own.
bool RunDemoFlight(std::ostream& trace);

}  // namespace demo
