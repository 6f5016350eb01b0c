#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "AutopilotRig.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Report = AutopilotRig::Report;

// Report bytes 1..3 as the panel sends them.
constexpr Report Panel(std::uint8_t byte1, std::uint8_t byte2 = 0, std::uint8_t byte3 = 0) {
  return {0x00, byte1, byte2, byte3};
}

constexpr std::uint8_t kIncrease = 0x20;
constexpr std::uint8_t kDecrease = 0x40;
constexpr std::uint8_t kArmed = 0x80;

// --- The encoder follows the selector -------------------------------------------------------

struct SelectorPosition {
  const char* label;
  std::uint8_t bit;
  const char* increase;
  const char* decrease;

  friend void PrintTo(const SelectorPosition& position, std::ostream* out) {
    *out << position.label;
  }
};

class EncoderTest : public ::testing::TestWithParam<SelectorPosition> {};

TEST_P(EncoderTest, EachStepSendsThePositionsEventOnce) {
  const SelectorPosition& position = GetParam();
  AutopilotRig rig;
  rig.Move(Panel(position.bit));
  rig.Move(Panel(position.bit | kIncrease));
  rig.Move(Panel(position.bit | kIncrease));
  rig.Move(Panel(position.bit));
  rig.Move(Panel(position.bit | kIncrease | kDecrease));
  // The knob leaves its detent: the position stays where it was.
  rig.Move(Panel(0));
  rig.Move(Panel(kDecrease));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{position.increase, 0}, Sent{position.increase, 0},
                                        Sent{position.decrease, 0}, Sent{position.decrease, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    AutopilotPanel, EncoderTest,
    ::testing::Values(SelectorPosition{"ALT", 0x01, "AP_ALT_VAR_INC", "AP_ALT_VAR_DEC"},
                      SelectorPosition{"VS", 0x02, "AP_VS_VAR_INC", "AP_VS_VAR_DEC"},
                      SelectorPosition{"IAS", 0x04, "AP_SPD_VAR_INC", "AP_SPD_VAR_DEC"},
                      SelectorPosition{"HDG", 0x08, "HEADING_BUG_INC", "HEADING_BUG_DEC"},
                      SelectorPosition{"CRS", 0x10, "VOR1_OBI_INC", "VOR1_OBI_DEC"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(AutopilotPanel, SelectorBitsRisingTogetherLeaveThePositionWhereItWas) {
  AutopilotRig rig;
  rig.Move(Panel(0x08));
  rig.Move(Panel(0));
  rig.Move(Panel(0x01 | 0x02 | kIncrease));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"HEADING_BUG_INC", 0}));
  rig.Move(Panel(0x02 | kIncrease));
  EXPECT_THAT(rig.Events(), IsEmpty()) << "a bit held over is no rise, and the step neither";
  rig.Move(Panel(0));
  rig.Move(Panel(0x02 | kIncrease));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"AP_VS_VAR_INC", 0}));
}

// --- Buttons --------------------------------------------------------------------------------

struct Button {
  const char* label;
  std::uint8_t byte1;
  std::uint8_t byte2;
  const char* event;
  const char* lock;  // the simulator's hold the panel-set event engages; none for toggles

  friend void PrintTo(const Button& button, std::ostream* out) { *out << button.label; }
};

class ButtonTest : public ::testing::TestWithParam<Button> {};

TEST_P(ButtonTest, EachPressSendsOnceWithTheDatumThatFlipsTheHold) {
  const Button& button = GetParam();
  const simconnect::Dword whenOff = button.lock ? 1 : 0;
  AutopilotRig rig;
  const Report pressed = Panel(button.byte1, button.byte2);

  rig.Move(pressed);
  rig.Move(pressed);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{button.event, whenOff})) << "held down";
  rig.Move(Panel(0));
  if (button.lock) rig.SimSets(button.lock, 1);
  rig.Move(pressed);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{button.event, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    AutopilotPanel, ButtonTest,
    ::testing::Values(Button{"AP", 0x80, 0, "AP_MASTER", nullptr},
                      Button{"HDG", 0, 0x01, "AP_PANEL_HEADING_SET", "AUTOPILOT HEADING LOCK"},
                      Button{"NAV", 0, 0x02, "AP_NAV1_HOLD", nullptr},
                      Button{"IAS", 0, 0x04, "AP_PANEL_SPEED_SET", "AUTOPILOT AIRSPEED HOLD"},
                      Button{"ALT", 0, 0x08, "AP_PANEL_ALTITUDE_SET", "AUTOPILOT ALTITUDE LOCK"},
                      Button{"VS", 0, 0x10, "AP_VS_HOLD", nullptr},
                      Button{"APR", 0, 0x20, "AP_APR_HOLD", nullptr},
                      Button{"REV", 0, 0x40, "AP_BC_HOLD", nullptr}),
    [](const auto& info) { return std::string(info.param.label); });

// --- The auto-throttle switch stays in agreement with the simulator -------------------------

TEST(AutopilotPanel, AutoThrottleSwitchArmsOnlyWhenTheSimulatorDisagrees) {
  AutopilotRig rig;
  rig.Move(Panel(0, kArmed));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"AUTO_THROTTLE_ARM", 0}));
  rig.Frame();
  EXPECT_EQ(simstub::GetVariable("AUTOPILOT THROTTLE ARM"), 1);
  rig.Move(Panel(0, kArmed));
  EXPECT_THAT(rig.Events(), IsEmpty()) << "the switch did not move";

  rig.Move(Panel(0));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"AUTO_THROTTLE_ARM", 0}));
  rig.Frame();
  rig.SimSets("AUTOPILOT THROTTLE ARM", 1);
  rig.Move(Panel(0, kArmed));
  EXPECT_THAT(rig.Events(), IsEmpty()) << "the simulator armed it already";
}

// --- Flaps lever and trim wheel ---------------------------------------------------------------

TEST(AutopilotPanel, FlapsAndTrimStepOncePerEdgeAndMoveTheSimulator) {
  AutopilotRig rig;
  rig.Move(Panel(0, 0, 0x02 | 0x08));
  rig.Move(Panel(0, 0, 0x08));
  rig.Move(Panel(0, 0, 0x02));
  rig.Move(Panel(0, 0, 0x01 | 0x04));
  rig.Move(Panel(0, 0, 0xF0));
  EXPECT_THAT(rig.Events(),
              ElementsAre(Sent{"FLAPS_INCR", 0}, Sent{"ELEV_TRIM_UP", 0}, Sent{"FLAPS_INCR", 0},
                          Sent{"FLAPS_DECR", 0}, Sent{"ELEV_TRIM_DN", 0}));
  rig.Frame();
  EXPECT_EQ(simstub::GetVariable("FLAPS HANDLE INDEX"), 1);
  EXPECT_EQ(simstub::GetVariable("ELEVATOR TRIM PCT"), 0);
}

// --- Whole reports --------------------------------------------------------------------------

TEST(AutopilotPanel, FirstReportSendsEveryControlAlreadySetInStepOrder) {
  AutopilotRig rig;
  rig.SimSets("AUTOPILOT AIRSPEED HOLD", 1);
  rig.Move(Panel(0x08 | kIncrease | kDecrease | 0x80, 0xFF, 0xFF));
  EXPECT_THAT(
      rig.Events(),
      ElementsAre(Sent{"HEADING_BUG_INC", 0}, Sent{"HEADING_BUG_DEC", 0}, Sent{"AP_MASTER", 0},
                  Sent{"AP_PANEL_HEADING_SET", 1}, Sent{"AP_NAV1_HOLD", 0},
                  Sent{"AP_PANEL_SPEED_SET", 0}, Sent{"AP_PANEL_ALTITUDE_SET", 1},
                  Sent{"AP_VS_HOLD", 0}, Sent{"AP_APR_HOLD", 0}, Sent{"AP_BC_HOLD", 0},
                  Sent{"AUTO_THROTTLE_ARM", 0}, Sent{"FLAPS_DECR", 0}, Sent{"FLAPS_INCR", 0},
                  Sent{"ELEV_TRIM_DN", 0}, Sent{"ELEV_TRIM_UP", 0}));
}

TEST(AutopilotPanel, ReportTooShortToHoldItsControlsIsNotRead) {
  AutopilotRig rig;
  const std::array<std::uint8_t, 3> shortBuffer{0x00, 0xFF, 0xFF};
  const Report full = Panel(0xFF, 0xFF, 0xFF);
  rig.panel.OnInputReport(rig.unit, 4, shortBuffer, full);
  rig.panel.OnInputReport(rig.unit, 4, full, shortBuffer);
  EXPECT_THAT(rig.Events(), IsEmpty());
}

}  // namespace
