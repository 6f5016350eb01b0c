#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "SwitchRig.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Report = SwitchRig::Report;

constexpr Report kAtRest{};

// Report bytes 1..3 as the panel sends them.
constexpr Report Panel(std::uint8_t byte1, std::uint8_t byte2, std::uint8_t byte3) {
  return {0x00, byte1, byte2, byte3};
}

// Magneto detents and lever positions, byte 2 and byte 3.
constexpr Report kKnobOff = Panel(0, 0x20, 0);
constexpr Report kKnobRight = Panel(0, 0x40, 0);
constexpr Report kKnobLeft = Panel(0, 0x80, 0);
constexpr Report kKnobBoth = Panel(0, 0, 0x01);
constexpr Report kKnobStart = Panel(0, 0, 0x02);
constexpr Report kGearLeverUp = Panel(0, 0, 0x04);
constexpr Report kGearLeverDown = Panel(0, 0, 0x08);

std::vector<Sent> FourTimes(const char* pattern, simconnect::Dword datum) {
  std::vector<Sent> sent;
  for (char engine = '1'; engine <= '4'; ++engine) {
    std::string name = pattern;
    name.replace(name.find('#'), 1, 1, engine);
    sent.push_back({name, datum});
  }
  return sent;
}

// --- Toggle switches follow the simulator -------------------------------------------------

struct ToggleSwitch {
  const char* label;
  Report on;
  const char* variable;
  const char* event;

  friend void PrintTo(const ToggleSwitch& toggle, std::ostream* out) { *out << toggle.label; }
};

class ToggleSwitchTest : public ::testing::TestWithParam<ToggleSwitch> {};

TEST_P(ToggleSwitchTest, TogglesOnlyWhenTheSimulatorDisagrees) {
  const ToggleSwitch& toggle = GetParam();
  SwitchRig rig;

  rig.SimSets(toggle.variable, 1);
  rig.Move(toggle.on);
  EXPECT_THAT(rig.Events(), IsEmpty()) << "the simulator already has it on";

  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{toggle.event, 0}));

  rig.Frame();  // the simulator now reports it off
  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(), IsEmpty()) << "a report without movement is no toggle";
  rig.Move(toggle.on);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{toggle.event, 0}));
  rig.Frame();
  EXPECT_EQ(simstub::GetVariable(toggle.variable), 1);
}

INSTANTIATE_TEST_SUITE_P(
    SwitchPanel, ToggleSwitchTest,
    ::testing::Values(
        ToggleSwitch{"Battery", Panel(0x01, 0, 0), "ELECTRICAL MASTER BATTERY",
                     "TOGGLE_MASTER_BATTERY"},
        ToggleSwitch{"Avionics", Panel(0x04, 0, 0), "AVIONICS MASTER SWITCH",
                     "TOGGLE_AVIONICS_MASTER"},
        ToggleSwitch{"PitotHeat", Panel(0x20, 0, 0), "PITOT HEAT", "PITOT_HEAT_TOGGLE"},
        ToggleSwitch{"PanelLights", Panel(0x80, 0, 0), "LIGHT PANEL", "PANEL_LIGHTS_TOGGLE"},
        ToggleSwitch{"Beacon", Panel(0, 0x01, 0), "LIGHT BEACON", "TOGGLE_BEACON_LIGHTS"},
        ToggleSwitch{"Nav", Panel(0, 0x02, 0), "LIGHT NAV", "TOGGLE_NAV_LIGHTS"},
        ToggleSwitch{"Strobe", Panel(0, 0x04, 0), "LIGHT STROBE", "STROBES_TOGGLE"},
        ToggleSwitch{"Taxi", Panel(0, 0x08, 0), "LIGHT TAXI", "TOGGLE_TAXI_LIGHTS"},
        ToggleSwitch{"Landing", Panel(0, 0x10, 0), "LIGHT LANDING", "LANDING_LIGHTS_TOGGLE"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SwitchPanel, AlternatorSwitchTogglesOnlyTheEnginesThatDisagreeInEngineOrder) {
  SwitchRig rig;
  simstub::SetVariable("GENERAL ENG MASTER ALTERNATOR:2", 1);
  rig.SimSets("GENERAL ENG MASTER ALTERNATOR:4", 1);

  rig.Move(Panel(0x02, 0, 0));
  EXPECT_THAT(rig.Events(),
              ElementsAre(Sent{"TOGGLE_ALTERNATOR1", 0}, Sent{"TOGGLE_ALTERNATOR3", 0}));

  rig.Frame();  // all four on now
  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(), FourTimes("TOGGLE_ALTERNATOR#", 0));
}

TEST(SwitchPanel, FuelPumpSwitchBringsEachEngineIntoItsOwnState) {
  SwitchRig rig;
  rig.SimSets("GENERAL ENG FUEL PUMP SWITCH:3", 1);

  rig.Move(Panel(0x08, 0, 0));
  EXPECT_THAT(rig.Events(),
              ElementsAre(Sent{"TOGGLE_ELECT_FUEL_PUMP1", 0}, Sent{"TOGGLE_ELECT_FUEL_PUMP2", 0},
                          Sent{"TOGGLE_ELECT_FUEL_PUMP4", 0}));

  rig.SimSets("GENERAL ENG FUEL PUMP SWITCH:1", 0);
  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(),
              ElementsAre(Sent{"TOGGLE_ELECT_FUEL_PUMP2", 0}, Sent{"TOGGLE_ELECT_FUEL_PUMP3", 0},
                          Sent{"TOGGLE_ELECT_FUEL_PUMP4", 0}));
}

// The simulator's value is compared as it came: one that is neither 0 nor 1 agrees with
// neither switch position.
TEST(SwitchPanel, ASimulatorValueNeitherOffNorOnIsToggledFromBothPositions) {
  SwitchRig rig;
  rig.SimSets("PITOT HEAT", 2);
  rig.Move(Panel(0x20, 0, 0));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"PITOT_HEAT_TOGGLE", 0}));
  rig.SimSets("PITOT HEAT", -1);
  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"PITOT_HEAT_TOGGLE", 0}));
}

// --- Set switches send their position whatever the simulator says --------------------------

TEST(SwitchPanel, DeIceSendsItsPositionEvenWhenTheSimulatorAgrees) {
  SwitchRig rig;
  rig.SimSets("PANEL ANTI ICE SWITCH", 1);
  rig.Move(Panel(0x10, 0, 0));
  rig.Frame();
  rig.Move(kAtRest);
  rig.Frame();
  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"ANTI_ICE_SET", 1}, Sent{"ANTI_ICE_SET", 0}));
}

TEST(SwitchPanel, CowlFlapsCloseAndOpenOnAllFourEngines) {
  SwitchRig rig;
  rig.Move(Panel(0x40, 0, 0));
  EXPECT_THAT(rig.Events(), FourTimes("COWLFLAP#_SET", 0));
  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(), FourTimes("COWLFLAP#_SET", 16383));
}

// --- Magneto knob ---------------------------------------------------------------------------

TEST(SwitchPanel, EachKnobDetentSetsAllFourMagnetos) {
  SwitchRig rig;
  const std::array detents = {kKnobOff, kKnobRight, kKnobLeft, kKnobBoth, kKnobStart};
  for (simconnect::Dword setting = 0; setting < detents.size(); ++setting) {
    rig.Move(detents[setting]);
    EXPECT_THAT(rig.Events(), FourTimes("MAGNETO#_SET", setting)) << "detent " << setting;
  }
  rig.Move(kKnobLeft);
  EXPECT_THAT(rig.Events(), FourTimes("MAGNETO#_SET", 2));
  rig.Frame();
  EXPECT_EQ(simstub::GetVariable("RECIP ENG MAGNETO POSITION:3"), 2);
}

TEST(SwitchPanel, KnobBackAtItsDetentAfterPassingBetweenDetentsSendsAgain) {
  SwitchRig rig;
  const std::array detents = {kKnobOff, kKnobRight, kKnobLeft, kKnobBoth, kKnobStart};
  for (simconnect::Dword setting = 0; setting < detents.size(); ++setting) {
    rig.Move(detents[setting]);
    rig.Events();
    rig.Move(kAtRest);
    EXPECT_THAT(rig.Events(), IsEmpty()) << "between detents, from " << setting;
    rig.Move(detents[setting]);
    EXPECT_THAT(rig.Events(), FourTimes("MAGNETO#_SET", setting));
    rig.Move(detents[setting]);
    EXPECT_THAT(rig.Events(), IsEmpty()) << "the knob stayed put at " << setting;
  }
}

TEST(SwitchPanel, SeveralKnobBitsAtOnceReadAsTheFirstInTheKnobsOrder) {
  SwitchRig rig;
  const std::array<std::pair<Report, simconnect::Dword>, 4> readings = {{
      {Panel(0, 0x20 | 0x80, 0), 0},  // OFF and L
      {Panel(0, 0x40, 0x02), 1},      // R and START
      {Panel(0, 0x80, 0x01), 2},      // L and BOTH
      {Panel(0, 0, 0x01 | 0x02), 3},  // BOTH and START
  }};
  for (const auto& [report, setting] : readings) {
    rig.Move(report);
    EXPECT_THAT(rig.Events(), FourTimes("MAGNETO#_SET", setting));
    rig.Move(kAtRest);
  }
  rig.Move(Panel(0, 0x40, 0x02));
  rig.Events();
  rig.Move(kKnobRight);
  EXPECT_THAT(rig.Events(), IsEmpty()) << "still R";
}

// --- Gear lever -----------------------------------------------------------------------------

TEST(SwitchPanel, GearLeverSendsItsNewPositionOnly) {
  SwitchRig rig;
  rig.Move(kGearLeverUp);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"GEAR_UP", 0}));
  rig.Move(kAtRest);
  EXPECT_THAT(rig.Events(), IsEmpty()) << "releasing a lever position";
  rig.Move(kGearLeverDown);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"GEAR_DOWN", 0}));
  rig.Move(kGearLeverDown);
  EXPECT_THAT(rig.Events(), IsEmpty());
}

TEST(SwitchPanel, GearUpWinsOnlyWhenBothLeverPositionsAppearAtOnce) {
  SwitchRig rig;
  rig.Move(Panel(0, 0, 0x0C));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"GEAR_UP", 0}));
  rig.Move(kGearLeverUp);
  rig.Move(Panel(0, 0, 0x0C));
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"GEAR_DOWN", 0})) << "up was already there";
}

// --- Whole reports --------------------------------------------------------------------------

TEST(SwitchPanel, FirstReportSendsEveryControlInTableOrder) {
  SwitchRig rig;
  rig.SimSets("GENERAL ENG MASTER ALTERNATOR:1", 1);
  simstub::SetVariable("GENERAL ENG FUEL PUMP SWITCH:1", 1);
  simstub::SetVariable("GENERAL ENG FUEL PUMP SWITCH:2", 1);
  rig.SimSets("GENERAL ENG FUEL PUMP SWITCH:3", 1);

  rig.Move(Panel(0xFF, 0x1F | 0x40, 0x04 | 0xF0));
  EXPECT_THAT(
      rig.Events(),
      ElementsAre(Sent{"TOGGLE_MASTER_BATTERY", 0}, Sent{"TOGGLE_ALTERNATOR2", 0},
                  Sent{"TOGGLE_ALTERNATOR3", 0}, Sent{"TOGGLE_ALTERNATOR4", 0},
                  Sent{"TOGGLE_AVIONICS_MASTER", 0}, Sent{"TOGGLE_ELECT_FUEL_PUMP4", 0},
                  Sent{"ANTI_ICE_SET", 1}, Sent{"PITOT_HEAT_TOGGLE", 0}, Sent{"COWLFLAP1_SET", 0},
                  Sent{"COWLFLAP2_SET", 0}, Sent{"COWLFLAP3_SET", 0}, Sent{"COWLFLAP4_SET", 0},
                  Sent{"PANEL_LIGHTS_TOGGLE", 0}, Sent{"TOGGLE_BEACON_LIGHTS", 0},
                  Sent{"TOGGLE_NAV_LIGHTS", 0}, Sent{"STROBES_TOGGLE", 0},
                  Sent{"TOGGLE_TAXI_LIGHTS", 0}, Sent{"LANDING_LIGHTS_TOGGLE", 0},
                  Sent{"MAGNETO1_SET", 1}, Sent{"MAGNETO2_SET", 1}, Sent{"MAGNETO3_SET", 1},
                  Sent{"MAGNETO4_SET", 1}, Sent{"GEAR_UP", 0}));
}

TEST(SwitchPanel, ReportsOfAnotherLengthAreIgnored) {
  SwitchRig rig;
  const std::array<std::uint8_t, 5> previous{};
  const std::array<std::uint8_t, 5> current{0x00, 0xFF, 0xFF, 0xFF, 0xFF};
  for (const std::uint32_t length : {3u, 5u, 0u}) {
    rig.panel.OnInputReport(rig.unit, length, previous, current);
  }
  EXPECT_THAT(rig.Events(), IsEmpty());
}

TEST(SwitchPanel, ReportLongerThanItsBuffersIsNotRead) {
  SwitchRig rig;
  const std::array<std::uint8_t, 3> shortBuffer{0x00, 0xFF, 0xFF};
  const Report full = Panel(0xFF, 0xFF, 0xFF);
  rig.panel.OnInputReport(rig.unit, 4, shortBuffer, full);
  rig.panel.OnInputReport(rig.unit, 4, full, shortBuffer);
  EXPECT_THAT(rig.Events(), IsEmpty());
}

// --- Registration with the simulator ---------------------------------------------------------

// The calls to an entry point, or only those whose first argument is `firstArgument`.
std::vector<std::string> CallsTo(const std::string& entryPoint,
                                 const std::string& firstArgument = "") {
  std::vector<std::string> calls;
  for (const auto& call : simstub::CallLog()) {
    if (call.starts_with(entryPoint + "(" + firstArgument)) calls.push_back(call);
  }
  return calls;
}

TEST(SwitchPanel, FailedDataDefinitionEndsInitializeAndLeavesTheSwitchesSilent) {
  simstub::Reset();
  CSimConnectLib sim;
  ASSERT_EQ(sim.Open("failing definition", nullptr, 0, nullptr, 0), 0);
  CPanelClass_Switch panel(&sim);
  ASSERT_TRUE(simstub::FailCall("SimConnect_AddToDataDefinition", platform::kEFail, 3));
  EXPECT_EQ(panel.Initialize(), platform::kEFail);
  EXPECT_EQ(CallsTo("SimConnect_AddToDataDefinition").size(), 3u);
  EXPECT_THAT(CallsTo("SimConnect_MapClientEventToSimEvent"), IsEmpty());
  EXPECT_THAT(CallsTo("SimConnect_SetNotificationGroupPriority"), IsEmpty());

  CPanelDevice unit;
  panel.OnInputReport(unit, 4, kAtRest, Panel(0xFF, 0xFF, 0xFF));
  EXPECT_THAT(CallsTo("SimConnect_TransmitClientEvent"), IsEmpty());
}

TEST(SwitchPanel, FailedEventMappingSilencesOnlyThatControl) {
  simstub::Reset();
  CSimConnectLib sim;
  ASSERT_EQ(sim.Open("failing mapping", nullptr, 0, nullptr, 0), 0);
  CPanelClass_Switch panel(&sim);
  // The third event mapped is the battery's toggle.
  ASSERT_TRUE(simstub::FailCall("SimConnect_MapClientEventToSimEvent", platform::kEFail, 3));
  EXPECT_EQ(panel.Initialize(), 0);

  CPanelDevice unit;
  panel.OnInputReport(unit, 4, kAtRest, Panel(0x01 | 0x04, 0, 0));
  EXPECT_THAT(TransmittedSince(0), ElementsAre(Sent{"TOGGLE_AVIONICS_MASTER", 0}));
}

}  // namespace
