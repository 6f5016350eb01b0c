#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/MainWindowFixture.h"
#include "support/VirtualUnit.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Field;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kAutopilotModel = 0x0B21;
constexpr std::uint16_t kSwitchModel = 0x0B23;
// Open and four subscriptions come before the behaviours register.
constexpr std::size_t kConnectionCalls = 5;

class AutopilotInTheMainWindow : public MainWindowFixture {
 protected:
  static void Frame() {
    simstub::AdvanceFrames(1);
    Pump();
  }
};

// A call's first argument as a number.
unsigned FirstArgument(const std::string& call) {
  return static_cast<unsigned>(std::stoul(call.substr(call.find('(') + 1)));
}

// The autopilot registers first. In a fresh process its definition id is 2 and its first
// event id 0x80000002; the program's earlier windows may have drawn ids before.
TEST_F(AutopilotInTheMainWindow, RegistersItsRecordAndEventsFirstCallForCall) {
  struct Item {
    const char* variable;
    const char* units;
    int type;
  };
  const Item items[] = {
      {"AUTOPILOT ALTITUDE LOCK VAR", "Feet", 3},
      {"AUTOPILOT VERTICAL HOLD VAR", "Feet/Minute", 3},
      {"AUTOPILOT HEADING LOCK DIR", "Degrees", 3},
      {"AUTOPILOT AIRSPEED HOLD VAR", "Knots", 3},
      {"NAV OBS:1", "Degrees", 3},
      {"AUTOPILOT THROTTLE ARM", "BOOL", 1},
      {"AUTOPILOT MASTER", "BOOL", 1},
      {"AUTOPILOT HEADING LOCK", "BOOL", 1},
      {"AUTOPILOT NAV1 LOCK", "BOOL", 1},
      {"AUTOPILOT APPROACH HOLD", "BOOL", 1},
      {"AUTOPILOT BACKCOURSE HOLD", "BOOL", 1},
      {"AUTOPILOT ALTITUDE LOCK", "BOOL", 1},
      {"AUTOPILOT VERTICAL HOLD", "BOOL", 1},
      {"AUTOPILOT AIRSPEED HOLD", "BOOL", 1},
  };
  const char* events[] = {
      "AP_ALT_VAR_INC", "AP_ALT_VAR_DEC",     "AP_VS_VAR_INC",     "AP_VS_VAR_DEC",
      "AP_SPD_VAR_INC", "AP_SPD_VAR_DEC",     "HEADING_BUG_INC",   "HEADING_BUG_DEC",
      "VOR1_OBI_INC",   "VOR1_OBI_DEC",       "AP_MASTER",         "AP_PANEL_HEADING_SET",
      "AP_NAV1_HOLD",   "AP_APR_HOLD",        "AP_BC_HOLD",        "AP_PANEL_ALTITUDE_SET",
      "AP_VS_HOLD",     "AP_PANEL_SPEED_SET", "AUTO_THROTTLE_ARM", "FLAPS_INCR",
      "FLAPS_DECR",     "ELEV_TRIM_UP",       "ELEV_TRIM_DN",
  };
  ASSERT_TRUE(Create());
  const auto log = simstub::CallLog();
  ASSERT_GT(log.size(), kConnectionCalls + std::size(items));
  const std::string definition = std::to_string(FirstArgument(log[kConnectionCalls]));
  unsigned id = FirstArgument(log[kConnectionCalls + std::size(items)]);
  EXPECT_GE(id, 0x80000002u) << "client event ids carry the top bit";

  std::vector<std::string> expected;
  int datum = 0;
  for (const Item& item : items) {
    expected.push_back("SimConnect_AddToDataDefinition(" + definition + ",\"" + item.variable +
                       "\",\"" + item.units + "\"," + std::to_string(item.type) + ",0," +
                       std::to_string(datum++) + ")");
  }
  for (const char* event : events) {
    const std::string client = std::to_string(id++);
    expected.push_back("SimConnect_MapClientEventToSimEvent(" + client + ",\"" + event + "\")");
    expected.push_back("SimConnect_AddClientEventToNotificationGroup(" + definition + "," + client +
                       ",0)");
  }
  expected.push_back("SimConnect_SetNotificationGroupPriority(" + definition + ",1)");
  ASSERT_GE(log.size(), kConnectionCalls + expected.size());
  EXPECT_THAT(
      std::vector(log.begin() + kConnectionCalls,
                  log.begin() + static_cast<std::ptrdiff_t>(kConnectionCalls + expected.size())),
      ElementsAreArray(expected));
}

TEST_F(AutopilotInTheMainWindow, EachPanelsTrafficReachesOnlyItsOwnBehaviour) {
  VirtualUnit autopilot(L"autopilot-1", kVendor, kAutopilotModel, 4);
  VirtualUnit switches(L"switch-1", kVendor, kSwitchModel, 4);
  ASSERT_TRUE(Create());
  ASSERT_TRUE(autopilot.Settle() && switches.Settle());
  simstub::FireSystemEvent("SimStart");
  Pump();
  Frame();
  const std::size_t autopilotWrites = autopilot.Features().size();
  const std::size_t switchWrites = switches.Features().size();

  simstub::SetVariable("AUTOPILOT ALTITUDE LOCK VAR", 5000);
  Frame();
  EXPECT_EQ(autopilot.Features().size(), autopilotWrites + 1);
  EXPECT_EQ(switches.Features().size(), switchWrites);

  simstub::SetVariable("ELECTRICAL MASTER BATTERY", 1);
  Frame();
  EXPECT_EQ(autopilot.Features().size(), autopilotWrites + 1);
  EXPECT_EQ(switches.Features().size(), switchWrites + 1);
  EXPECT_EQ(switches.Features().back(), (platform::vhid::Report{0x00, 0x07}));

  autopilot.Push({0x00, 0x00, 0x01, 0x00});
  switches.Push({0x00, 0x00, 0x01, 0x00});
  ASSERT_TRUE(autopilot.Settle() && switches.Settle());
  const auto sent = simstub::TransmittedEvents();
  ASSERT_EQ(sent.size(), 2u);
  // The same bit means the HDG button on one panel and the beacon on the other.
  EXPECT_THAT(sent, ::testing::UnorderedElementsAre(
                        Field(&simstub::TransmittedEvent::name, "AP_PANEL_HEADING_SET"),
                        Field(&simstub::TransmittedEvent::name, "TOGGLE_BEACON_LIGHTS")));
  // Each in its own behaviour's group: the autopilot's definition id, and the switch's two
  // after it.
  const unsigned autopilotGroup = FirstArgument(simstub::CallLog()[kConnectionCalls]);
  for (const auto& event : sent) {
    EXPECT_EQ(event.group,
              event.name == "AP_PANEL_HEADING_SET" ? autopilotGroup : autopilotGroup + 2)
        << event.name;
  }
  window.reset();
  EXPECT_EQ(autopilot.Features().back().size(), 13u) << "the autopilot's reset report";
  EXPECT_THAT(switches.Features().back(), ElementsAre(0x00, 0x00));
}

}  // namespace
