#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "support/FirstArgument.h"
#include "support/MainWindowFixture.h"
#include "support/VirtualUnit.h"

using ::testing::ElementsAre;
using ::testing::Field;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kAutopilotModel = 0x0B21;
constexpr std::uint16_t kRadioModel = 0x0B22;
constexpr std::uint16_t kSwitchModel = 0x0B23;
// Open and four subscriptions come before the behaviours register.
constexpr std::size_t kConnectionCalls = 5;

class PanelsInTheMainWindow : public MainWindowFixture {
 protected:
  static void Frame() {
    simstub::AdvanceFrames(1);
    Pump();
  }
};

TEST_F(PanelsInTheMainWindow, EachPanelsTrafficReachesOnlyItsOwnBehaviour) {
  VirtualUnit autopilot(L"autopilot-1", kVendor, kAutopilotModel, 4);
  VirtualUnit radio(L"radio-1", kVendor, kRadioModel, 4);
  VirtualUnit switches(L"switch-1", kVendor, kSwitchModel, 4);
  ASSERT_TRUE(Create());
  ASSERT_TRUE(autopilot.Settle() && radio.Settle() && switches.Settle());
  simstub::FireSystemEvent("SimStart");
  Pump();
  Frame();
  const auto writes = [&] {
    return std::array{autopilot.Features().size(), radio.Features().size(),
                      switches.Features().size()};
  };
  auto expected = writes();

  // Each record change refreshes only the panel that shows it. Both radio rows start in
  // their fallback mode, COM2.
  for (const auto& [variable, value, panel] : {std::tuple{"AUTOPILOT ALTITUDE LOCK VAR", 5000, 0},
                                               std::tuple{"COM ACTIVE FREQUENCY:2", 0x2345, 1},
                                               std::tuple{"ELECTRICAL MASTER BATTERY", 1, 2}}) {
    simstub::SetVariable(variable, value);
    Frame();
    ++expected[static_cast<std::size_t>(panel)];
    EXPECT_EQ(writes(), expected) << variable;
  }
  EXPECT_EQ(switches.Features().back(), (platform::vhid::Report{0x00, 0x07}));

  autopilot.Push({0x00, 0x00, 0x01, 0x00});
  radio.Push({0x00, 0x00, 0x00, 0x01});
  switches.Push({0x00, 0x00, 0x01, 0x00});
  ASSERT_TRUE(autopilot.Settle() && radio.Settle() && switches.Settle());
  const auto sent = simstub::TransmittedEvents();
  // The same bit means the HDG button on one panel and the beacon on another.
  EXPECT_THAT(sent, ::testing::UnorderedElementsAre(
                        Field(&simstub::TransmittedEvent::name, "AP_PANEL_HEADING_SET"),
                        Field(&simstub::TransmittedEvent::name, "COM2_RADIO_FRACT_INC"),
                        Field(&simstub::TransmittedEvent::name, "TOGGLE_BEACON_LIGHTS")));
  // Each in its own behaviour's group: the autopilot's definition id, the radio's and the
  // switch's after it.
  const unsigned autopilotGroup = FirstArgument(simstub::CallLog()[kConnectionCalls]);
  for (const auto& event : sent) {
    const unsigned place = event.name == "AP_PANEL_HEADING_SET"   ? 0
                           : event.name == "COM2_RADIO_FRACT_INC" ? 1
                                                                  : 2;
    EXPECT_EQ(event.group, autopilotGroup + place) << event.name;
  }
  window.reset();
  EXPECT_EQ(autopilot.Features().back().size(), 13u) << "the autopilot's reset report";
  EXPECT_EQ(radio.Features().back().size(), 23u) << "the radio's blank report";
  EXPECT_THAT(switches.Features().back(), ElementsAre(0x00, 0x00));
}

}  // namespace
