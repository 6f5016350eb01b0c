#pragma once

// The autopilot panel in words: which controls an input report moved, and what a display
// report shows on the LCD and in the button lights.

#include <cstdint>
#include <span>
#include <string>

#include "panels/AutopilotPanelReports.h"

namespace demo {

// The controls that moved from one report to the next, as "selector HDG, encoder up".
std::string DescribeAutopilotMovement(panels::autopilot_panel::InputBytes previous,
                                      panels::autopilot_panel::InputBytes current);

// Both LCD rows as the panel shows them, and the lights that are lit, as
// "LCD [05000] [ -700], lights AP, HDG".
std::string DescribeDisplay(std::span<const std::uint8_t> report);

}  // namespace demo
