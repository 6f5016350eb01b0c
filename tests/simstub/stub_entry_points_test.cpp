#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StubClient.h"

namespace {

using ::testing::ElementsAre;

constexpr simconnect::HResult kEFail = static_cast<simconnect::HResult>(0x80004005u);

TEST_F(StubClient, CallLogWritesEveryArgumentAsReceived) {
  ASSERT_EQ(SimConnect_AddToDataDefinition(handle_, 2, "PITOT HEAT", "Bool", 1, 0.05f, 11), 0);
  ASSERT_EQ(SimConnect_TransmitClientEvent(handle_, 0, 0x80000002u, 16383, 4, 0), 0x80070057);
  ASSERT_EQ(SimConnect_AddClientEventToNotificationGroup(handle_, 4, 0x80000002u, -1), 0);

  EXPECT_THAT(simstub::CallLog(),
              ElementsAre("SimConnect_Open(\"stub test\",null,0,null,0)",
                          "SimConnect_AddToDataDefinition(2,\"PITOT HEAT\",\"Bool\",1,0.05,11)",
                          "SimConnect_TransmitClientEvent(0,2147483650,16383,4,0)",
                          "SimConnect_AddClientEventToNotificationGroup(4,2147483650,-1)"));
}

TEST(StubFailure, OpenFailsWhileTheSimulatorIsNotRunning) {
  simstub::Reset();
  ASSERT_TRUE(simstub::FailCall("SimConnect_Open", kEFail));
  simconnect::Handle handle = nullptr;

  EXPECT_EQ(SimConnect_Open(&handle, "client", nullptr, 0, nullptr, 0), kEFail);
  EXPECT_EQ(SimConnect_Open(&handle, "client", nullptr, 0, nullptr, 0), kEFail);
  EXPECT_FALSE(simstub::IsOpen());
  EXPECT_EQ(simstub::CallLog().size(), 2u) << "refused calls are logged too";

  simstub::ClearFailures();
  EXPECT_EQ(SimConnect_Open(&handle, "client", nullptr, 0, nullptr, 0), 0);
  EXPECT_TRUE(simstub::IsOpen());
  simstub::Reset();
}

TEST_F(StubClient, FailsOnlyTheNthCallCountedFromWhenItWasSet) {
  ASSERT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 1, "SimStart"), 0);
  ASSERT_TRUE(simstub::FailCall("SimConnect_SubscribeToSystemEvent", kEFail, 2));
  EXPECT_FALSE(simstub::FailCall("SimConnect_Subscribe", kEFail));

  EXPECT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 2, "SimStop"), 0);
  EXPECT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 3, "Paused"), kEFail);
  EXPECT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 4, "Unpaused"), 0);

  simstub::FireSystemEvent("Paused");
  EXPECT_EQ(simstub::PendingRecords(), 0u) << "a failed call has no effect";
}

TEST_F(StubClient, OneClientAtATimeAndOnlyThroughItsOwnHandle) {
  simconnect::Handle second = nullptr;
  EXPECT_EQ(SimConnect_Open(&second, "second", nullptr, 0, nullptr, 0), kEFail);
  EXPECT_EQ(SimConnect_MapClientEventToSimEvent(nullptr, 2, "GEAR_UP"), kEFail);

  ASSERT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 1, "SimStart"), 0);
  simstub::FireSystemEvent("SimStart");
  ASSERT_EQ(SimConnect_Close(handle_), 0);
  EXPECT_FALSE(simstub::IsOpen());
  EXPECT_EQ(simstub::PendingRecords(), 0u);

  ASSERT_EQ(SimConnect_Open(&second, "second", nullptr, 0, nullptr, 0), 0);
  EXPECT_NE(second, handle_);
  EXPECT_EQ(SimConnect_Close(handle_), kEFail) << "a stale handle is refused";
  EXPECT_TRUE(simstub::IsOpen());
}

}  // namespace
