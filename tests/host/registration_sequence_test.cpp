#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/CMainDlg.h"
#include "platform/window.h"
#include "simstub/SimStub.h"
#include "support/FirstArgument.h"

namespace {

// One data item as the call log shows it, between the definition id and the datum id.
struct Item {
  const char* variable;
  const char* units;
  int type;
  const char* epsilon;
};

Item Int32(const char* variable, const char* units) {
  return {variable, units, 1, "0"};
}
Item Float32(const char* variable, const char* units, const char* epsilon = "0") {
  return {variable, units, 3, epsilon};
}

// What one behaviour registers as the main window initialises it. Its definition id is
// drawn in its place in the start-up order (0 autopilot, 1 radio, 2 switch), its event
// ids one after another after those of the behaviours before it.
struct Registration {
  const char* panel;
  unsigned place;
  std::vector<Item> items;
  std::vector<const char*> events;
};

Registration AutopilotPanel() {
  return {"autopilot",
          0,
          {Float32("AUTOPILOT ALTITUDE LOCK VAR", "Feet"),
           Float32("AUTOPILOT VERTICAL HOLD VAR", "Feet/Minute"),
           Float32("AUTOPILOT HEADING LOCK DIR", "Degrees"),
           Float32("AUTOPILOT AIRSPEED HOLD VAR", "Knots"), Float32("NAV OBS:1", "Degrees"),
           Int32("AUTOPILOT THROTTLE ARM", "BOOL"), Int32("AUTOPILOT MASTER", "BOOL"),
           Int32("AUTOPILOT HEADING LOCK", "BOOL"), Int32("AUTOPILOT NAV1 LOCK", "BOOL"),
           Int32("AUTOPILOT APPROACH HOLD", "BOOL"), Int32("AUTOPILOT BACKCOURSE HOLD", "BOOL"),
           Int32("AUTOPILOT ALTITUDE LOCK", "BOOL"), Int32("AUTOPILOT VERTICAL HOLD", "BOOL"),
           Int32("AUTOPILOT AIRSPEED HOLD", "BOOL")},
          {"AP_ALT_VAR_INC", "AP_ALT_VAR_DEC",     "AP_VS_VAR_INC",     "AP_VS_VAR_DEC",
           "AP_SPD_VAR_INC", "AP_SPD_VAR_DEC",     "HEADING_BUG_INC",   "HEADING_BUG_DEC",
           "VOR1_OBI_INC",   "VOR1_OBI_DEC",       "AP_MASTER",         "AP_PANEL_HEADING_SET",
           "AP_NAV1_HOLD",   "AP_APR_HOLD",        "AP_BC_HOLD",        "AP_PANEL_ALTITUDE_SET",
           "AP_VS_HOLD",     "AP_PANEL_SPEED_SET", "AUTO_THROTTLE_ARM", "FLAPS_INCR",
           "FLAPS_DECR",     "ELEV_TRIM_UP",       "ELEV_TRIM_DN"}};
}

Registration RadioPanel() {
  return {
      "radio",
      1,
      {Int32("com active frequency:1", "Frequency BCD16"),
       Int32("com standby frequency:1", "Frequency BCD16"),
       Int32("com active frequency:2", "Frequency BCD16"),
       Int32("com standby frequency:2", "Frequency BCD16"),
       Int32("nav active frequency:1", "Frequency BCD16"),
       Int32("nav standby frequency:1", "Frequency BCD16"),
       Int32("nav active frequency:2", "Frequency BCD16"),
       Int32("nav standby frequency:2", "Frequency BCD16"),
       Int32("adf active frequency:1", "Frequency ADF BCD32"), Int32("transponder code:1", "BCO16"),
       Float32("nav1 dme", "nmiles"), Float32("nav1 dmespeed", "Knots")},
      {"COM_RADIO_WHOLE_INC",   "COM_RADIO_WHOLE_DEC",
       "COM_RADIO_FRACT_INC",   "COM_RADIO_FRACT_DEC",
       "COM_STBY_RADIO_SWAP",   "COM2_RADIO_WHOLE_INC",
       "COM2_RADIO_WHOLE_DEC",  "COM2_RADIO_FRACT_INC",
       "COM2_RADIO_FRACT_DEC",  "COM2_RADIO_SWAP",
       "NAV1_RADIO_WHOLE_INC",  "NAV1_RADIO_WHOLE_DEC",
       "NAV1_RADIO_FRACT_INC",  "NAV1_RADIO_FRACT_DEC",
       "NAV1_RADIO_SWAP",       "NAV2_RADIO_WHOLE_INC",
       "NAV2_RADIO_WHOLE_DEC",  "NAV2_RADIO_FRACT_INC",
       "NAV2_RADIO_FRACT_DEC",  "NAV2_RADIO_SWAP",
       "ADF1_WHOLE_INC",        "ADF1_WHOLE_DEC",
       "ADF1_RADIO_TENTHS_INC", "ADF1_RADIO_TENTHS_DEC",
       "XPNDR_1000_INC",        "XPNDR_1000_DEC",
       "XPNDR_100_INC",         "XPNDR_100_DEC",
       "XPNDR_10_INC",          "XPNDR_10_DEC",
       "XPNDR_1_INC",           "XPNDR_1_DEC"}};
}

Registration SwitchPanel() {
  return {"switch",
          2,
          {Int32("ELECTRICAL MASTER BATTERY", "Bool"),
           Int32("GENERAL ENG MASTER ALTERNATOR:1", "Bool"),
           Int32("GENERAL ENG MASTER ALTERNATOR:2", "Bool"),
           Int32("GENERAL ENG MASTER ALTERNATOR:3", "Bool"),
           Int32("GENERAL ENG MASTER ALTERNATOR:4", "Bool"),
           Int32("AVIONICS MASTER SWITCH", "Bool"),
           Int32("GENERAL ENG FUEL PUMP SWITCH:1", "Bool"),
           Int32("GENERAL ENG FUEL PUMP SWITCH:2", "Bool"),
           Int32("GENERAL ENG FUEL PUMP SWITCH:3", "Bool"),
           Int32("GENERAL ENG FUEL PUMP SWITCH:4", "Bool"),
           Int32("PANEL ANTI ICE SWITCH", "Bool"),
           Int32("PITOT HEAT", "Bool"),
           Float32("RECIP ENG COWL FLAP POSITION:1", "Percent", "0.05"),
           Float32("RECIP ENG COWL FLAP POSITION:2", "Percent", "0.05"),
           Float32("RECIP ENG COWL FLAP POSITION:3", "Percent", "0.05"),
           Float32("RECIP ENG COWL FLAP POSITION:4", "Percent", "0.05"),
           Int32("LIGHT PANEL", "Bool"),
           Int32("LIGHT BEACON", "Bool"),
           Int32("LIGHT NAV", "Bool"),
           Int32("LIGHT STROBE", "Bool"),
           Int32("LIGHT TAXI", "Bool"),
           Int32("LIGHT LANDING", "Bool"),
           Int32("GEAR HANDLE POSITION", "Bool"),
           Int32("IS GEAR RETRACTABLE", "Bool"),
           Float32("GEAR CENTER POSITION", "Percent Over 100"),
           Float32("GEAR LEFT POSITION", "Percent Over 100"),
           Float32("GEAR RIGHT POSITION", "Percent Over 100")},
          {"GEAR_UP",
           "GEAR_DOWN",
           "TOGGLE_MASTER_BATTERY",
           "TOGGLE_ALTERNATOR1",
           "TOGGLE_ALTERNATOR2",
           "TOGGLE_ALTERNATOR3",
           "TOGGLE_ALTERNATOR4",
           "TOGGLE_AVIONICS_MASTER",
           "TOGGLE_ELECT_FUEL_PUMP1",
           "TOGGLE_ELECT_FUEL_PUMP2",
           "TOGGLE_ELECT_FUEL_PUMP3",
           "TOGGLE_ELECT_FUEL_PUMP4",
           "ANTI_ICE_SET",
           "PITOT_HEAT_TOGGLE",
           "COWLFLAP1_SET",
           "COWLFLAP2_SET",
           "COWLFLAP3_SET",
           "COWLFLAP4_SET",
           "PANEL_LIGHTS_TOGGLE",
           "TOGGLE_BEACON_LIGHTS",
           "TOGGLE_NAV_LIGHTS",
           "STROBES_TOGGLE",
           "TOGGLE_TAXI_LIGHTS",
           "LANDING_LIGHTS_TOGGLE",
           "MAGNETO1_SET",
           "MAGNETO2_SET",
           "MAGNETO3_SET",
           "MAGNETO4_SET"}};
}

// The behaviours in start-up order.
std::vector<Registration> Registrations() {
  return {AutopilotPanel(), RadioPanel(), SwitchPanel()};
}

// The call log lines of every registration, given the first identifiers the window drew.
std::vector<std::string> ExpectedCalls(std::uint32_t firstDefinitionId,
                                       std::uint32_t firstEventId) {
  std::vector<std::string> calls;
  std::uint32_t eventId = firstEventId;
  for (const Registration& panel : Registrations()) {
    const std::string id = std::to_string(firstDefinitionId + panel.place);
    for (std::size_t datum = 0; datum < panel.items.size(); ++datum) {
      const Item& item = panel.items[datum];
      calls.push_back("SimConnect_AddToDataDefinition(" + id + ",\"" + item.variable + "\",\"" +
                      item.units + "\"," + std::to_string(item.type) + "," + item.epsilon + "," +
                      std::to_string(datum) + ")");
    }
    for (const char* event : panel.events) {
      const std::string clientId = std::to_string(eventId++ | 0x80000000u);
      calls.push_back("SimConnect_MapClientEventToSimEvent(" + clientId + ",\"" + event + "\")");
      calls.push_back("SimConnect_AddClientEventToNotificationGroup(" + id + "," + clientId +
                      ",0)");
    }
    calls.push_back("SimConnect_SetNotificationGroupPriority(" + id + ",1)");
  }
  return calls;
}

TEST(RegistrationSequence, TheMainWindowRegistersEveryPanelCallForCall) {
  simstub::Reset();
  {
    CMainDlg window;
    ASSERT_TRUE(window.Create());
    const auto log = simstub::CallLog();
    // Open and the four system-event subscriptions come first, then the autopilot's record.
    constexpr std::size_t kConnectionCalls = 5;
    const std::size_t firstMapping = kConnectionCalls + AutopilotPanel().items.size();
    ASSERT_GT(log.size(), firstMapping);
    // The counters are process-wide: earlier tests in the same process may have drawn ids.
    const std::uint32_t firstDefinitionId = FirstArgument(log[kConnectionCalls]);
    const std::uint32_t firstEventId = FirstArgument(log[firstMapping]) & ~0x80000000u;
    if (::testing::UnitTest::GetInstance()->test_to_run_count() == 1) {
      EXPECT_EQ(firstDefinitionId, 2u) << "a fresh process starts the definitions at 2";
    }
    EXPECT_EQ(std::vector(log.begin() + kConnectionCalls, log.end()),
              ExpectedCalls(firstDefinitionId, firstEventId));
  }
  // The window's end posted the quit message: nothing it left reaches the next test.
  EXPECT_EQ(platform::RunMessageLoop(), 0);
  simstub::Reset();
}

}  // namespace
