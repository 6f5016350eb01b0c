#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "simlink/CSimConnectLib.h"
#include "simstub/SimStub.h"
#include "support/RecordingPanel.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class PanelSimulatorOpsTest : public ::testing::Test {
 protected:
  PanelSimulatorOpsTest() {
    simstub::Reset();
    lib.Open("test", nullptr, 0, nullptr, 0);
    panel.Initialize();
  }
  ~PanelSimulatorOpsTest() override { simstub::Reset(); }

  CSimConnectLib lib;
  RecordingPanel panel{0x1C7A, 0x0B23, &lib};
};

TEST_F(PanelSimulatorOpsTest, EventsAreMappedIntoThePanelsGroupWithTheTopBitSet) {
  EXPECT_EQ(panel.DefinitionId(), 2u);
  EXPECT_EQ(panel.MapEvent("GEAR_UP"), 0x80000002u);
  EXPECT_EQ(panel.MapEvent("GEAR_DOWN"), 0x80000003u);
  EXPECT_THAT(
      simstub::CallLog(),
      testing::IsSupersetOf({"SimConnect_MapClientEventToSimEvent(2147483650,\"GEAR_UP\")",
                             "SimConnect_AddClientEventToNotificationGroup(2,2147483650,0)"}));
}

TEST_F(PanelSimulatorOpsTest, FailedMappingGivesZeroWhichSendsNothing) {
  ASSERT_TRUE(simstub::FailCall("SimConnect_MapClientEventToSimEvent", platform::kEFail, 1));
  const std::uint32_t failed = panel.MapEvent("GEAR_UP");
  ASSERT_TRUE(
      simstub::FailCall("SimConnect_AddClientEventToNotificationGroup", platform::kEFail, 1));
  const std::uint32_t ungrouped = panel.MapEvent("GEAR_DOWN");
  EXPECT_EQ(failed, 0u);
  EXPECT_EQ(ungrouped, 0u);

  EXPECT_EQ(panel.SendEvent(failed, 5), 0);
  EXPECT_THAT(simstub::TransmittedEvents(), IsEmpty());
}

TEST_F(PanelSimulatorOpsTest, EventsGoToTheUserAircraftInThePanelsGroup) {
  const std::uint32_t gearUp = panel.MapEvent("GEAR_UP");
  EXPECT_GE(panel.SendEvent(gearUp, 7), 0);
  EXPECT_THAT(simstub::TransmittedEvents(),
              ElementsAre(simstub::TransmittedEvent{"GEAR_UP", 7, 2}));
}

TEST_F(PanelSimulatorOpsTest, DataRequestAsksEveryFrameOnlyWhenChanged) {
  panel.StartDataRequest();
  EXPECT_EQ(simstub::CallLog().back(), "SimConnect_RequestDataOnSimObject(2,2,0,3,1,0,0,0)");
}

}  // namespace
