#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/kernel_faults.h"
#include "platform/result.h"
#include "support/MainWindowFixture.h"
#include "support/ModelUnits.h"

// Every platform call the plug-in depends on fails in turn. Whatever fails, the plug-in
// keeps running, serves the units it can, and ends cleanly: every unit closed, and every
// unit it served shown its stopping output.

namespace {

using platform::posix::KernelFault;
using platform::vhid::Fault;

class PluginUnderFaults : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    units = AllModelUnits();
  }

  // Each unit sends its reports a few times; waits until each attached unit took them.
  void Fly(const std::vector<const ModelUnit*>& flying) {
    simstub::FireSystemEvent("SimStart");
    Pump();
    for (int round = 0; round < 3; ++round) {
      for (const ModelUnit* unit : flying) {
        platform::vhid::PushInput(unit->path, unit->pressed);
        platform::vhid::PushInput(unit->path, unit->released);
      }
      simstub::SetVariable("COM ACTIVE FREQUENCY:1", 0x1800 + round);
      simstub::SetVariable("AUTOPILOT ALTITUDE LOCK VAR", 1000 * round);
      simstub::SetVariable("ELECTRICAL MASTER BATTERY", round % 2);
      simstub::AdvanceFrames(1);
      Pump();
    }
    for (const ModelUnit* unit : flying) {
      if (unit->Handles() > 0) {
        EXPECT_TRUE(platform::vhid::WaitUntilIdle(unit->path, std::chrono::seconds(10)));
      }
    }
  }
  std::size_t Sent(const ModelUnit& unit) const {
    return CountOf(simstub::TransmittedEvents(), unit.signature);
  }
  // The "a" unit of each model.
  std::vector<const ModelUnit*> Faulty() const { return {&units[0], &units[2], &units[4]}; }
  std::vector<const ModelUnit*> Healthy() const { return {&units[1], &units[3], &units[5]}; }
  std::vector<const ModelUnit*> All() const {
    std::vector<const ModelUnit*> all;
    for (const ModelUnit& unit : units) all.push_back(&unit);
    return all;
  }

  std::vector<ModelUnit> units;
};

struct HidFaultCase {
  Fault fault;
  bool attached;
  bool served;  // its reports become events
};

TEST_F(PluginUnderFaults, EachHidCallFailingLeavesTheOtherUnitsServedAndTheEndClean) {
  for (const HidFaultCase& story :
       {HidFaultCase{Fault::Open, false, false}, HidFaultCase{Fault::Attributes, false, false},
        HidFaultCase{Fault::Capabilities, false, false},
        HidFaultCase{Fault::SetFeature, true, true}, HidFaultCase{Fault::GetFeature, true, true},
        HidFaultCase{Fault::Read, true, false}}) {
    SCOPED_TRACE(static_cast<int>(story.fault));
    simstub::Reset();
    ASSERT_TRUE(Create());
    for (const ModelUnit& unit : units) unit.Plug();
    for (const ModelUnit* unit : Faulty()) platform::vhid::InjectFault(unit->path, story.fault);
    Pump();
    Fly(All());

    for (const ModelUnit* unit : Faulty()) {
      EXPECT_EQ(unit->Handles(), story.attached ? 2 : 0) << unit->signature;
      EXPECT_EQ(Sent(*unit) > 0, story.served) << unit->signature;
    }
    for (const ModelUnit* unit : Healthy()) EXPECT_GT(Sent(*unit), 0u) << unit->signature;

    // Once the fault is gone, a unit that was refused is taken at its next arrival.
    for (const ModelUnit* unit : Faulty()) {
      platform::vhid::InjectFault(unit->path, story.fault, false);
      if (story.attached) continue;
      platform::vhid::Unplug(unit->path);
      unit->Plug();
    }
    Pump();
    Fly(Faulty());
    for (const ModelUnit* unit : Faulty()) EXPECT_GT(Sent(*unit), 0u) << unit->signature;

    simstub::Quit();
    EXPECT_EQ(platform::RunMessageLoop(), 0);
    for (const ModelUnit& unit : units) {
      EXPECT_EQ(unit.Handles(), 0) << unit.signature;
      EXPECT_TRUE(unit.EndedWithStoppingOutput()) << unit.signature;
    }
    platform::vhid::Reset();
  }
}

// Resources of the system itself: a unit that cannot have its reader, or the event that
// stops it, is not attached, and is left showing its stopping output rather than a display
// nobody keeps up to date.
TEST_F(PluginUnderFaults, NoThreadOrNoEventForAUnitRefusesThatUnitOnly) {
  for (const KernelFault fault : {KernelFault::ThreadStart, KernelFault::EventCreation}) {
    SCOPED_TRACE(static_cast<int>(fault));
    simstub::Reset();
    ASSERT_TRUE(Create());
    for (const ModelUnit* unit : Healthy()) unit->Plug();
    Pump();
    platform::posix::InjectKernelFault(fault);
    for (const ModelUnit* unit : Faulty()) unit->Plug();
    Pump();
    platform::posix::InjectKernelFault(fault, false);
    for (const ModelUnit* unit : Faulty()) {
      EXPECT_EQ(unit->Handles(), 0) << unit->signature;
      const auto log = unit->Features();
      EXPECT_TRUE(log.empty() || log.back() == unit->stopping) << unit->signature;
    }

    Fly(All());
    for (const ModelUnit* unit : Healthy()) EXPECT_GT(Sent(*unit), 0u) << unit->signature;
    for (const ModelUnit* unit : Faulty()) EXPECT_EQ(Sent(*unit), 0u) << unit->signature;

    simstub::Quit();
    EXPECT_EQ(platform::RunMessageLoop(), 0);
    for (const ModelUnit* unit : Healthy()) EXPECT_TRUE(unit->EndedWithStoppingOutput());
    for (const ModelUnit& unit : units) EXPECT_EQ(unit.Handles(), 0) << unit.signature;
    platform::vhid::Reset();
  }
}

struct SimFaultCase {
  const char* entryPoint;
  bool created;  // refused when there is no simulator connection
  bool eventsReachTheSimulator;
  bool quitArrives;
};

TEST_F(PluginUnderFaults, EachSimulatorOperationFailingLeavesThePluginServingWhatItCan) {
  for (const SimFaultCase& story : {
           SimFaultCase{"SimConnect_Open", false, false, false},
           SimFaultCase{"SimConnect_SubscribeToSystemEvent", false, false, false},
           SimFaultCase{"SimConnect_AddToDataDefinition", true, false, true},
           SimFaultCase{"SimConnect_MapClientEventToSimEvent", true, false, true},
           SimFaultCase{"SimConnect_AddClientEventToNotificationGroup", true, false, true},
           SimFaultCase{"SimConnect_SetNotificationGroupPriority", true, true, true},
           SimFaultCase{"SimConnect_RequestDataOnSimObject", true, true, true},
           SimFaultCase{"SimConnect_TransmitClientEvent", true, false, true},
           SimFaultCase{"SimConnect_CallDispatch", true, true, false},
       }) {
    SCOPED_TRACE(story.entryPoint);
    simstub::Reset();
    for (const ModelUnit& unit : units) unit.Plug();
    ASSERT_TRUE(simstub::FailCall(story.entryPoint, platform::kEFail));
    ASSERT_EQ(Create(), story.created);
    if (!story.created) {
      // The refused window has ended the loop; the process ends without touching a unit.
      EXPECT_EQ(platform::posix::DispatchPendingMessages(), 0);
      for (const ModelUnit& unit : units) EXPECT_EQ(unit.Handles(), 0) << unit.signature;
      platform::vhid::Reset();
      continue;
    }
    Fly(All());
    for (const ModelUnit& unit : units) {
      EXPECT_EQ(unit.Handles(), 2) << unit.signature;
      EXPECT_EQ(Sent(unit) > 0, story.eventsReachTheSimulator) << unit.signature;
    }

    simstub::Quit();
    if (story.quitArrives) {
      EXPECT_EQ(platform::RunMessageLoop(), 0);
    } else {
      // Without the simulator's word the window goes with the process.
      window.reset();
    }
    for (const ModelUnit& unit : units) {
      EXPECT_EQ(unit.Handles(), 0) << unit.signature;
      EXPECT_TRUE(unit.EndedWithStoppingOutput()) << unit.signature;
    }
    while (platform::posix::DispatchPendingMessages()) {
    }
    platform::vhid::Reset();
  }
}

}  // namespace
