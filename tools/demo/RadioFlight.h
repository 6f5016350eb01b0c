#pragma once

#include "tools/demo/FlightLog.h"

namespace demo {

// Plugs a virtual radio panel into the running plug-in beside the panels already flying,
// tunes and swaps frequencies, turns the selectors and enters a transponder code, checking
// each step's client events and the windows the panel shows; then unplugs it. Needs the
// main window created and the data requests started.
void FlyRadioPanel(FlightLog& log);

}  // namespace demo
