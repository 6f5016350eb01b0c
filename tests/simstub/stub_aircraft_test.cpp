#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StubClient.h"

namespace {

using ::testing::ElementsAre;

constexpr simconnect::Dword kGroup = 4;

class StubAircraft : public StubClient {
 protected:
  simconnect::HResult Send(const char* event, simconnect::Dword datum = 0) {
    const simconnect::Dword id = MapEvent(nextId_++, event);
    return SimConnect_TransmitClientEvent(handle_, simconnect::kObjectIdUser, id, datum, kGroup, 0);
  }

  simconnect::Dword nextId_ = 0x80000002u;
};

TEST_F(StubAircraft, StartsParkedWithRetractableGearDown) {
  EXPECT_EQ(simstub::GetVariable("IS GEAR RETRACTABLE"), 1);
  EXPECT_EQ(simstub::GetVariable("GEAR HANDLE POSITION"), 1);
  EXPECT_EQ(simstub::GetVariable("GEAR LEFT POSITION"), 1.0);
  EXPECT_EQ(simstub::GetVariable("ELECTRICAL MASTER BATTERY"), 0);
  EXPECT_EQ(simstub::GetVariable("NOT A VARIABLE"), 0);
}

TEST_F(StubAircraft, TogglesFlipOnlyTheirOwnEnginesVariable) {
  ASSERT_EQ(Send("TOGGLE_ALTERNATOR3"), 0);
  EXPECT_EQ(simstub::GetVariable("GENERAL ENG MASTER ALTERNATOR:3"), 1);
  EXPECT_EQ(simstub::GetVariable("GENERAL ENG MASTER ALTERNATOR:2"), 0);

  ASSERT_EQ(Send("TOGGLE_ALTERNATOR3"), 0);
  EXPECT_EQ(simstub::GetVariable("GENERAL ENG MASTER ALTERNATOR:3"), 0);

  simstub::SetVariable("general eng fuel pump switch:2", 1);
  ASSERT_EQ(Send("toggle_elect_fuel_pump2"), 0) << "names match without regard to case";
  EXPECT_EQ(simstub::GetVariable("GENERAL ENG FUEL PUMP SWITCH:2"), 0);
}

TEST_F(StubAircraft, SetEventsTakeTheirDatum) {
  ASSERT_EQ(Send("MAGNETO2_SET", 3), 0);
  EXPECT_EQ(simstub::GetVariable("RECIP ENG MAGNETO POSITION:2"), 3);

  ASSERT_EQ(Send("COWLFLAP4_SET", 16383), 0);
  EXPECT_EQ(simstub::GetVariable("RECIP ENG COWL FLAP POSITION:4"), 100);
  ASSERT_EQ(Send("COWLFLAP4_SET", 0), 0);
  EXPECT_EQ(simstub::GetVariable("RECIP ENG COWL FLAP POSITION:4"), 0);

  ASSERT_EQ(Send("ANTI_ICE_SET", 1), 0);
  ASSERT_EQ(Send("ANTI_ICE_SET", 1), 0);
  EXPECT_EQ(simstub::GetVariable("PANEL ANTI ICE SWITCH"), 1) << "a set is not a toggle";
}

TEST_F(StubAircraft, GearLegsTravelToTheHandleInTenFrames) {
  ASSERT_EQ(Send("GEAR_UP"), 0);
  EXPECT_EQ(simstub::GetVariable("GEAR HANDLE POSITION"), 0);
  EXPECT_EQ(simstub::GetVariable("GEAR CENTER POSITION"), 1.0) << "legs move only with frames";

  simstub::AdvanceFrames(5);
  EXPECT_NEAR(simstub::GetVariable("GEAR RIGHT POSITION"), 0.5, 1e-9);
  simstub::AdvanceFrames(5);
  EXPECT_EQ(simstub::GetVariable("GEAR RIGHT POSITION"), 0.0);

  ASSERT_EQ(Send("GEAR_DOWN"), 0);
  simstub::AdvanceFrames(9);
  EXPECT_LT(simstub::GetVariable("GEAR LEFT POSITION"), 1.0);
  simstub::AdvanceFrames(1);
  EXPECT_EQ(simstub::GetVariable("GEAR LEFT POSITION"), 1.0);
}

TEST_F(StubAircraft, EventLogKeepsEveryTransmissionAndRefusesUnmappedIds) {
  ASSERT_EQ(Send("PITOT_HEAT_TOGGLE"), 0);
  ASSERT_EQ(Send("COWLFLAP1_SET", 16383), 0);
  ASSERT_EQ(Send("SOME_FUTURE_EVENT", 7), 0) << "events the model does not know still go out";
  EXPECT_EQ(SimConnect_TransmitClientEvent(handle_, 0, 0x8000FFFFu, 0, kGroup, 0),
            static_cast<simconnect::HResult>(0x80070057u));

  EXPECT_THAT(simstub::TransmittedEvents(),
              ElementsAre(simstub::TransmittedEvent{"PITOT_HEAT_TOGGLE", 0, kGroup},
                          simstub::TransmittedEvent{"COWLFLAP1_SET", 16383, kGroup},
                          simstub::TransmittedEvent{"SOME_FUTURE_EVENT", 7, kGroup}));
}

// A controller that leaves the stand-in running for hours takes the events as they come and
// forgets the calls, so that neither log grows without bound.
TEST_F(StubAircraft, TakenEventsAndForgottenCallsAreGoneAndLaterOnesAreKept) {
  ASSERT_EQ(Send("PITOT_HEAT_TOGGLE"), 0);
  EXPECT_THAT(simstub::TakeTransmittedEvents(),
              ElementsAre(simstub::TransmittedEvent{"PITOT_HEAT_TOGGLE", 0, kGroup}));
  ASSERT_EQ(Send("COWLFLAP1_SET", 16383), 0);
  EXPECT_THAT(simstub::TakeTransmittedEvents(),
              ElementsAre(simstub::TransmittedEvent{"COWLFLAP1_SET", 16383, kGroup}));
  EXPECT_TRUE(simstub::TransmittedEvents().empty());

  simstub::ForgetCalls();
  EXPECT_TRUE(simstub::CallLog().empty());
  ASSERT_EQ(Send("GEAR_UP"), 0);
  EXPECT_EQ(simstub::CallLog().size(), 2u) << "the mapping and the transmission";
  EXPECT_THAT(simstub::TransmittedEvents(),
              ElementsAre(simstub::TransmittedEvent{"GEAR_UP", 0, kGroup}));
}

TEST_F(StubAircraft, ResetReturnsToTheStartingState) {
  ASSERT_EQ(Send("GEAR_UP"), 0);
  simstub::AdvanceFrames(10);
  simstub::SetVariable("LIGHT NAV", 1);

  simstub::Reset();

  EXPECT_FALSE(simstub::IsOpen());
  EXPECT_EQ(simstub::GetVariable("GEAR CENTER POSITION"), 1.0);
  EXPECT_EQ(simstub::GetVariable("LIGHT NAV"), 0);
  EXPECT_TRUE(simstub::TransmittedEvents().empty());
  EXPECT_TRUE(simstub::CallLog().empty());
}

}  // namespace
