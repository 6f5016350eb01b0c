#pragma once

// The switch panel in words: which controls an input report moved, and what a gear-light
// report lights.

#include <cstdint>
#include <span>
#include <string>

#include "panels/SwitchPanelReports.h"

namespace demo {

using SwitchInput = std::span<const std::uint8_t, panels::switch_panel::kInputReportLength>;

// The controls that moved from one report to the next, as "battery on, magneto START".
std::string DescribeMovement(SwitchInput previous, SwitchInput current);

// The lamps of a gear-light report's lamp bits, as "nose green, left red, right off".
std::string DescribeLamps(std::uint8_t lampBits);

}  // namespace demo
