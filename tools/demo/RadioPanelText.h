#pragma once

// The radio panel in words: which controls an input report moved, and what the display
// report's windows show.

#include <cstdint>
#include <span>
#include <string>

#include "panels/RadioPanelReports.h"

namespace demo {

using RadioInput = std::span<const std::uint8_t, panels::radio_panel::kInputReportLength>;

// The controls that moved from one report to the next, as "upper selector NAV1, lower
// swap".
std::string DescribeRadioMovement(RadioInput previous, RadioInput current);

// One row's two windows as the panel shows them, as "123.45  118.00": a dark digit is a
// blank, a lit point follows its digit.
std::string RowText(std::span<const std::uint8_t> displayReport, bool upperRow);

}  // namespace demo
