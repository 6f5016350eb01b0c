#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/posix/virtual_hid_bus.h"
#include "simstub/SimStub.h"
#include "tools/demo/DemoFlight.h"

namespace {

// The demo checks its own script step by step; this keeps it from drifting away from
// the plug-in unnoticed, and keeps its trace telling the story in order.
TEST(DemoFlight, EveryStepMatchesItsScriptAndTheTraceTellsItInOrder) {
  std::ostringstream trace;
  EXPECT_TRUE(demo::RunDemoFlight(trace)) << trace.str();

  const std::string text = trace.str();
  std::size_t at = 0;
  for (const char* line : {
           "data requests started for the autopilot, radio and switch panels",
           "switch panel attached",
           "client event TOGGLE_MASTER_BATTERY 0",
           "gear lamps nose green, left green, right green",
           "client event MAGNETO1_SET 4",
           "client event MAGNETO1_SET 3",
           "client event GEAR_UP 0",
           "gear lamps nose red, left red, right red / then nose off, left off, right off",
           "client event GEAR_DOWN 0",
           "gear lamps nose red, left red, right red / then nose green, left green, right green",
           "autopilot panel attached, its selector at ALT",
           "client event AP_VS_VAR_DEC 0",
           "LCD [05000] [ -700], lights none",
           "client event AP_PANEL_HEADING_SET 1",
           "LCD [  045] [     ], lights AP, HDG",
           "client event FLAPS_INCR 0, ELEV_TRIM_UP 0",
           "radio panel attached",
           "upper [122.80  118.00]   lower [110.50  113.90]",
           "client event COM_RADIO_FRACT_INC 0",
           "client event COM_STBY_RADIO_SWAP 0",
           "upper [119.02  122.80]",
           "lower [       0343.5]",
           "lower [ 012.3   118.0]",
           "client event XPNDR_100_DEC 0, XPNDR_1000_DEC 0",
           "upper [        7000]",
           "radio panel detached",
           "switch panel detached",
           "message loop ended with 0",
           "LCD [     ] [     ], lights none",
       }) {
    const std::size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << line << "\n" << text;
    at = found;
  }

  platform::vhid::Reset();
  simstub::Reset();
}

}  // namespace
