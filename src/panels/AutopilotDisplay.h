#pragma once

// What the autopilot panel's LCD and button lights show for a simulator record.
//
// A digit is taken from the value divided by its place, as a single-precision quotient
// truncated toward zero: digits are never rounded up, and digits above a row's reach are
// lost. A value that is not a number or infinite has no digits: the cells that would
// show them show minus signs instead.

#include "panels/AutopilotData.h"
#include "panels/AutopilotPanelReports.h"

namespace panels::autopilot_panel {

// Hundreds of feet with leading zeros and two fixed zeros; no sign (5000 ft: 0 5 0 0 0).
Cells FormatAltitude(float feet);
// Hundreds of feet per minute with the sign before the first digit (-700: _ - 7 0 0).
Cells FormatVerticalSpeed(float feetPerMinute);
// Three digits with leading zeros after two blanks, no sign (heading 45: _ _ 0 4 5).
Cells FormatThreeDigits(float value);

// The display report of a unit whose selector stands at `position`.
DisplayReport ComposeDisplay(Selector position, const AutopilotData& record);

}  // namespace panels::autopilot_panel
