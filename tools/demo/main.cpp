// The hardware-free demo: the plug-in's real main window flies a short scripted flight
// with virtual switch, autopilot and radio panels and the stand-in simulator, and prints
// what happens.

#include <iostream>

#include "tools/demo/DemoFlight.h"

int main() {
  return demo::RunDemoFlight(std::cout) ? 0 : 1;
}
