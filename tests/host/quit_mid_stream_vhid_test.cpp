#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/MainWindowFixture.h"
#include "support/ModelUnits.h"

// The simulator quits while every unit's reader is busy delivering reports: the loop still
// ends with 0 and every unit is left showing its stopping output.

namespace {

constexpr int kRounds = 10;
constexpr int kBacklog = 500;

using QuitMidStream = MainWindowFixture;

bool EveryUnitSent(const std::vector<ModelUnit>& units) {
  const auto events = simstub::TransmittedEvents();
  return std::ranges::all_of(
      units, [&events](const ModelUnit& unit) { return CountOf(events, unit.signature) > 0; });
}

TEST_F(QuitMidStream, LoopEndsWithZeroAndEveryUnitGetsItsStoppingOutput) {
  const std::vector<ModelUnit> units = AllModelUnits();
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    simstub::Reset();
    for (const ModelUnit& unit : units) unit.Plug();
    ASSERT_TRUE(Create());
    simstub::FireSystemEvent("SimStart");
    Pump();
    // A backlog keeps every reader delivering whenever it looks.
    for (int n = 0; n < kBacklog; ++n) {
      for (const ModelUnit& unit : units) {
        platform::vhid::PushInput(unit.path, unit.pressed);
        platform::vhid::PushInput(unit.path, unit.released);
      }
    }
    ReportFeeder feeder(units);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!EveryUnitSent(units) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(EveryUnitSent(units));

    simstub::SetVariable("COM ACTIVE FREQUENCY:1", 0x1900 + round);
    simstub::AdvanceFrames(1);
    simstub::Quit();
    EXPECT_EQ(platform::RunMessageLoop(), 0);
    feeder.Stop();

    for (const ModelUnit& unit : units) {
      EXPECT_EQ(unit.Handles(), 0) << unit.signature;
      EXPECT_TRUE(unit.EndedWithStoppingOutput()) << unit.signature;
    }
    platform::vhid::Reset();
  }
}

}  // namespace
