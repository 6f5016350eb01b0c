#pragma once

// What the radio panel's windows show: the digit codes of each window format, and the
// whole display report for the modes of the two rows.

#include <cstdint>

#include "panels/RadioData.h"
#include "panels/RadioPanelReports.h"
#include "panels/RadioSimVariables.h"

namespace panels::radio_panel {

// A "Frequency BCD16" value: the leading 1, then its four digits with the point after
// the MHz (0x2345 shows 123.45).
Window FrequencyWindow(std::int32_t bcd16);
// A "Frequency ADF BCD32" value: its five top nibbles with the point before the last
// (0x03445000 shows 0344.5).
Window AdfWindow(std::int32_t bcd32);
// A "BCO16" code: a dark digit, then its four octal digits (0x1200 shows  1200).
Window TransponderWindow(std::int32_t bco16);
// A distance or speed: hundreds, tens, units with the point, tenths after a dark digit.
// Negative values show negative remainders (0xF7 to 0xFF); a value too large for the
// digits' arithmetic, an infinity or NaN shows a dark window.
Window DmeWindow(float value);

// The display report of a unit whose rows are at these modes.
DisplayReport ComposeDisplay(std::int32_t upperMode, std::int32_t lowerMode,
                             const RadioRecord& record);

}  // namespace panels::radio_panel
