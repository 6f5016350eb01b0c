#include <gtest/gtest.h>

#include "platform/result.h"
#include "simlink/CSimConnectLib.h"

namespace {

TEST(SimConnectBinding, WithoutTheLibraryEveryOperationIsNotImplemented) {
  CSimConnectLib lib(L"NoSuchSimulatorLibrary.dll");
  simconnect::Dword packet = 0;
  const platform::HResult results[] = {
      lib.Open("client", nullptr, 0x400, nullptr, 0),
      lib.Close(),
      lib.CallDispatch(nullptr, nullptr),
      lib.MapClientEventToSimEvent(0x80000002, "GEAR_UP"),
      lib.TransmitClientEvent(0, 0x80000002, 0, 2, 0),
      lib.AddClientEventToNotificationGroup(2, 0x80000002, false),
      lib.SetNotificationGroupPriority(2, 1),
      lib.AddToDataDefinition(2, "PITOT HEAT", "Bool", 1, 0.0f, 0),
      lib.RequestDataOnSimObject(2, 2, 0, 3, 1, 0, 0, 0),
      lib.RequestDataOnSimObjectType(2, 2, 0, 0),
      lib.SubscribeToSystemEvent(1, "SimStart"),
      lib.UnsubscribeFromSystemEvent(1),
      lib.RequestSystemState(5, "AircraftLoaded"),
      lib.GetLastSentPacketID(&packet),
  };
  for (platform::HResult result : results) EXPECT_EQ(result, platform::kENotImpl);
}

TEST(SimConnectBinding, AMissingEntryPointSilencesOnlyItsOwnOperation) {
  CSimConnectLib lib(L"PartialSimConnect.dll");
  ASSERT_EQ(lib.Open("client", nullptr, 0x400, nullptr, 0), 0);
  // The library only reaches the handle that Open filled in.
  EXPECT_EQ(lib.SetNotificationGroupPriority(2, 1), 7);
  EXPECT_EQ(lib.Close(), platform::kENotImpl);
  EXPECT_EQ(lib.SubscribeToSystemEvent(1, "SimStart"), platform::kENotImpl);
}

TEST(SimConnectBinding, IdentifiersStartAtTwo) {
  CSimConnectLib lib(L"NoSuchSimulatorLibrary.dll");
  EXPECT_EQ(lib.NextDefinitionId(), 2u);
  EXPECT_EQ(lib.NextDefinitionId(), 3u);
  EXPECT_EQ(lib.NextEventId(), 2u);
}

TEST(SimConnectBinding, ProcessWideBindingIsOneObject) {
  EXPECT_EQ(&GetSimConnectLib(), &GetSimConnectLib());
}

}  // namespace
