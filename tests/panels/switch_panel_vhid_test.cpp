#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "SwitchRig.h"
#include "support/VirtualUnit.h"

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kSwitchModel = 0x0B23;

// The lamp bits the unit showed, each run of equal reports counted once.
std::vector<int> LampSequence(const VirtualUnit& unit) {
  std::vector<int> lamps;
  for (const auto& report : unit.Features()) {
    if (lamps.empty() || lamps.back() != report.at(1)) lamps.push_back(report.at(1));
  }
  return lamps;
}

class SwitchPanelOnTheBus : public ::testing::Test {
 protected:
  void TearDown() override { rig.panel.DetachAll(); }

  VirtualUnit unit{L"\\\\?\\HID#VID_1C7A&PID_0B23#8&2f1a&0&0000", kVendor, kSwitchModel, 4};
  SwitchRig rig;
};

TEST_F(SwitchPanelOnTheBus, BatteryOnThenGearUpDrivesTheSimulatorAndTheLamps) {
  rig.panel.AttachDevice(unit.path());
  ASSERT_EQ(rig.panel.Devices().size(), 1u);

  unit.Push({0x00, 0x01, 0x00, 0x00});
  ASSERT_TRUE(unit.Settle());
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"TOGGLE_MASTER_BATTERY", 0}));
  EXPECT_EQ(simstub::GetVariable("ELECTRICAL MASTER BATTERY"), 1);

  rig.Frame();
  EXPECT_THAT(LampSequence(unit), ElementsAre(0x00, 0x07)) << "powered, gear down and locked";

  unit.Push({0x00, 0x01, 0x00, 0x04});
  ASSERT_TRUE(unit.Settle());
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"GEAR_UP", 0}));
  for (int frame = 0; frame < 15; ++frame) rig.Frame();
  EXPECT_THAT(LampSequence(unit), ElementsAre(0x00, 0x07, 0x38, 0x00));

  rig.panel.DetachDevice(unit.path());
  EXPECT_EQ(unit.Features().back().at(1), 0x00);
}

TEST_F(SwitchPanelOnTheBus, RecordsArriveWhileTheSwitchesMove) {
  rig.panel.AttachDevice(unit.path());
  for (int frame = 0; frame < 100; ++frame) {
    unit.Push({0x00, 0x00, static_cast<std::uint8_t>(frame % 2), 0x00});
    // A cowl flap that never rests makes every frame's record a new one.
    simstub::SetVariable("RECIP ENG COWL FLAP POSITION:1", frame);
    rig.Frame();
  }
  ASSERT_TRUE(unit.Settle());
  rig.Frame();
  const auto events = rig.Events();
  // The first move onto beacon-on meets a simulator that has it off, so at least that
  // toggle goes out; no move sends more than one.
  ASSERT_THAT(events, Not(IsEmpty()));
  EXPECT_LE(events.size(), 99u);
  EXPECT_THAT(events, Each(Sent{"TOGGLE_BEACON_LIGHTS", 0}));
  // None was lost on the way: the beacon is on after an odd number of toggles.
  EXPECT_EQ(simstub::GetVariable("LIGHT BEACON"), static_cast<double>(events.size() % 2));
}

}  // namespace
