#pragma once

#include <string_view>

namespace simstub {

class Aircraft;

// The radios of the user's aircraft, in the units the radio panel asks for: COM and NAV
// frequencies as "Frequency BCD16" (0x2345 is 123.45 MHz), the ADF as "Frequency ADF
// BCD32" (0x03445000 is 344.5 kHz), the transponder code as "BCO16" (four octal digits).
// The encoders' events tune the standby frequencies and the swaps exchange them with the
// active ones. The DME's distance and speed follow no model: they read what is set.

// Tunes every radio to its frequency or code at the start of a flight.
void TuneRadiosForStart(Aircraft& aircraft);

// Applies a radio's tuning, swap or transponder event; any other event changes nothing.
void ApplyRadioEvent(Aircraft& aircraft, std::string_view event);

}  // namespace simstub
