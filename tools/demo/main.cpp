// The hardware-free demo: the plug-in's real main window flies a short scripted flight
// with virtual switch, autopilot and radio panels and the stand-in simulator, and prints
// what happens, and where the plug-in's log of it went.

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>

#include "eventlog/ProcessLog.h"
#include "tools/demo/DemoFlight.h"

int main() {
  bool matched = false;
  std::optional<std::wstring> logPath;
  {
    const eventlog::ProcessLog log;
    logPath = log.Path();
    matched = demo::RunDemoFlight(std::cout);
  }
  // The stand-in's paths carry one byte per wide character, and read as slashes.
  std::string shown = "none (no $HOME)";
  if (logPath) {
    shown.clear();
    for (const wchar_t c : *logPath) shown += c == L'\\' ? '/' : static_cast<char>(c);
  }
  std::cout << "\nThe plug-in's log of this flight: " << shown << "\n";
  return matched ? 0 : 1;
}
