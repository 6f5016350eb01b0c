#include <gtest/gtest.h>

#include "StubClient.h"

namespace {

using simconnect::kDataRequestFlagChanged;
using simconnect::kDataTypeFloat32;
using simconnect::kDataTypeInt32;
using simconnect::kObjectIdUser;
using simconnect::kPeriodSimFrame;

constexpr simconnect::Dword kDefine = 4;
constexpr const char* kCowlFlap = "RECIP ENG COWL FLAP POSITION:1";

class StubDataRequest : public StubClient {
 protected:
  void SetUp() override {
    StubClient::SetUp();
    Define("ELECTRICAL MASTER BATTERY", "Bool", kDataTypeInt32, 0, 0);
    Define(kCowlFlap, "Percent", kDataTypeFloat32, 0.05f, 1);
    Define("IS GEAR RETRACTABLE", "Bool", kDataTypeInt32, 0, 2);
  }

  void Define(const char* variable, const char* units, simconnect::Dword type, float epsilon,
              simconnect::Dword datum) {
    ASSERT_EQ(
        SimConnect_AddToDataDefinition(handle_, kDefine, variable, units, type, epsilon, datum), 0);
  }

  simconnect::HResult Request(simconnect::Dword period, simconnect::Dword flags) {
    return SimConnect_RequestDataOnSimObject(handle_, kDefine, kDefine, kObjectIdUser, period,
                                             flags, 0, 0, 0);
  }

  std::size_t RecordsAfterOneFrame() {
    simstub::AdvanceFrames(1);
    return Dispatch().size();
  }
};

TEST_F(StubDataRequest, RecordCarriesTheDefinitionPackedInDatumOrder) {
  simstub::SetVariable(kCowlFlap, 42.5);
  simstub::SetVariable("ELECTRICAL MASTER BATTERY", 1);
  ASSERT_EQ(Request(kPeriodSimFrame, kDataRequestFlagChanged), 0);

  simstub::AdvanceFrames(1);
  const auto records = Dispatch();

  ASSERT_EQ(records.size(), 1u);
  const auto& received = records[0];
  const auto record = received.As<simconnect::RecvSimObjectData>();
  EXPECT_EQ(record.dwSize, 40u + 3 * 4) << "fixed part, then three 4-byte values";
  EXPECT_EQ(received.sizeArgument, record.dwSize);
  EXPECT_EQ(record.dwID, simconnect::kRecvIdSimObjectData);
  EXPECT_EQ(record.dwRequestID, kDefine);
  EXPECT_EQ(record.dwObjectID, kObjectIdUser);
  EXPECT_EQ(record.dwDefineID, kDefine);
  EXPECT_EQ(record.dwFlags, kDataRequestFlagChanged);
  EXPECT_EQ(record.dwentrynumber, 1u);
  EXPECT_EQ(record.dwoutof, 1u);
  EXPECT_EQ(record.dwDefineCount, 3u);
  EXPECT_EQ(received.DataValue<std::int32_t>(0), 1);
  EXPECT_EQ(received.DataValue<float>(1), 42.5f);
  EXPECT_EQ(received.DataValue<std::int32_t>(2), 1);
}

TEST_F(StubDataRequest, ChangedFlagSendsOnlyWhenAValueMovesBeyondItsEpsilon) {
  ASSERT_EQ(Request(kPeriodSimFrame, kDataRequestFlagChanged), 0);
  EXPECT_EQ(RecordsAfterOneFrame(), 1u) << "the first frame after a request always sends";
  EXPECT_EQ(RecordsAfterOneFrame(), 0u);

  simstub::SetVariable(kCowlFlap, 0.04);
  EXPECT_EQ(RecordsAfterOneFrame(), 0u) << "within epsilon of the value last sent";
  simstub::SetVariable(kCowlFlap, 0.08);
  EXPECT_EQ(RecordsAfterOneFrame(), 1u) << "drifted beyond epsilon of the value last sent";

  simstub::SetVariable("IS GEAR RETRACTABLE", 0);
  EXPECT_EQ(RecordsAfterOneFrame(), 1u) << "an epsilon of 0 sends any change";
}

TEST_F(StubDataRequest, RequestUnderTheSameIdSendsAgainAtOnce) {
  ASSERT_EQ(Request(kPeriodSimFrame, kDataRequestFlagChanged), 0);
  EXPECT_EQ(RecordsAfterOneFrame(), 1u);
  ASSERT_EQ(Request(kPeriodSimFrame, kDataRequestFlagChanged), 0);
  EXPECT_EQ(RecordsAfterOneFrame(), 1u);

  ASSERT_EQ(Request(kPeriodSimFrame, 0), 0);
  EXPECT_EQ(RecordsAfterOneFrame(), 1u);
  EXPECT_EQ(RecordsAfterOneFrame(), 1u) << "without the flag every frame sends";
}

TEST_F(StubDataRequest, RefusesWhatItCannotBuild) {
  constexpr simconnect::HResult kEInvalidArg = static_cast<simconnect::HResult>(0x80070057u);
  constexpr simconnect::Dword kDataTypeFloat64 = 4;
  constexpr simconnect::Dword kPeriodSecond = 4;
  constexpr simconnect::Dword kFlagTagged = 2;

  EXPECT_EQ(SimConnect_AddToDataDefinition(handle_, kDefine, "PITOT HEAT", "Bool", kDataTypeFloat64,
                                           0, 3),
            kEInvalidArg);
  EXPECT_EQ(Request(kPeriodSecond, 0), kEInvalidArg);
  EXPECT_EQ(Request(kPeriodSimFrame, kFlagTagged), kEInvalidArg);
  EXPECT_EQ(
      SimConnect_RequestDataOnSimObject(handle_, kDefine, kDefine, 7, kPeriodSimFrame, 0, 0, 0, 0),
      kEInvalidArg);
  EXPECT_EQ(RecordsAfterOneFrame(), 0u);
}

}  // namespace
