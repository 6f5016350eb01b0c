#pragma once

#include <cstddef>

#include "tools/demo/FlightLog.h"

namespace demo {

// The autopilot panel's part of the demo flight. It is plugged in beside the panels
// already flying and set up through its selector, encoder and buttons; it stays attached
// until the plug-in ends, which leaves its LCD blank and its lights off.
class AutopilotFlight {
 public:
  explicit AutopilotFlight(FlightLog& log) : log_(log) {}

  // While the main window runs.
  void Fly();
  // After the main window has closed.
  void CheckLeftBlank();

 private:
  void CheckDisplay(const std::vector<std::string>& expected);

  FlightLog& log_;
  std::size_t outputsSeen_ = 0;
};

}  // namespace demo
