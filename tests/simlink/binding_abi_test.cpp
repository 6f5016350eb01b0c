#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "platform/posix/window_abi.h"
#include "simlink/CSimConnectLib.h"
#include "simstub/SimStub.h"

using ::testing::ElementsAre;

namespace {

std::string Hex(const void* pointer) {
  std::ostringstream text;
  text << "0x" << std::hex << reinterpret_cast<std::uintptr_t>(pointer);
  return text.str();
}

struct Dispatched {
  simconnect::Dword id = 0;
  simconnect::Dword size = 0;
  simconnect::Dword eventId = 0;
  void* context = nullptr;
};

void SIMCONNECT_CALL Remember(simconnect::Recv* record, simconnect::Dword size, void* context) {
  auto* seen = static_cast<Dispatched*>(context);
  seen->id = record->dwID;
  seen->size = size;
  seen->context = context;
  if (record->dwID == simconnect::kRecvIdEvent) {
    seen->eventId = static_cast<simconnect::RecvEvent*>(record)->uEventID;
  }
}

// Every argument crosses the library boundary intact: a calling convention or argument
// order that differs from the library's shows up here as garbled or shifted values.
TEST(SimConnectBindingAbi, EveryOperationReachesTheLibraryWithItsArguments) {
  simstub::Reset();
  CSimConnectLib lib;
  // The library posts to the window when records wait; on Linux it must be a real one.
  KorPosixWindowAbi windowObject{
      [](KorPosixWindowAbi*, std::uint32_t, std::uintptr_t, std::intptr_t) {}};
  void* window = &windowObject;
  void* event = reinterpret_cast<void*>(std::uintptr_t{0x4560});
  Dispatched seen;
  simconnect::Dword packet = 0;

  ASSERT_EQ(lib.Open("Korvane Flight Sim X Plugin", window, 0x0400, event, 7), 0);
  EXPECT_GE(lib.MapClientEventToSimEvent(0x80000002u, "GEAR_UP"), 0);
  EXPECT_GE(lib.AddClientEventToNotificationGroup(4, 0x80000002u, false), 0);
  EXPECT_GE(lib.SetNotificationGroupPriority(4, 1), 0);
  EXPECT_GE(lib.AddToDataDefinition(4, "GEAR LEFT POSITION", "Percent Over 100", 3, 0.05f, 25), 0);
  EXPECT_GE(lib.RequestDataOnSimObject(4, 4, 0, 3, 1, 11, 12, 13), 0);
  EXPECT_GE(lib.RequestDataOnSimObjectType(9, 4, 1000, 2), 0);
  EXPECT_GE(lib.TransmitClientEvent(0, 0x80000002u, 16383, 4, 0x10), 0);
  EXPECT_GE(lib.SubscribeToSystemEvent(1, "SimStart"), 0);
  EXPECT_GE(lib.RequestSystemState(8, "AircraftLoaded"), 0);
  EXPECT_GE(lib.GetLastSentPacketID(&packet), 0);
  simstub::FireSystemEvent("SimStart");
  EXPECT_GE(lib.CallDispatch(Remember, &seen), 0);
  EXPECT_GE(lib.UnsubscribeFromSystemEvent(1), 0);
  EXPECT_GE(lib.Close(), 0);

  EXPECT_THAT(simstub::CallLog(),
              ElementsAre("SimConnect_Open(\"Korvane Flight Sim X Plugin\"," + Hex(window) +
                              ",1024," + Hex(event) + ",7)",
                          "SimConnect_MapClientEventToSimEvent(2147483650,\"GEAR_UP\")",
                          "SimConnect_AddClientEventToNotificationGroup(4,2147483650,0)",
                          "SimConnect_SetNotificationGroupPriority(4,1)",
                          "SimConnect_AddToDataDefinition(4,\"GEAR LEFT POSITION\",\"Percent Over "
                          "100\",3,0.05,25)",
                          "SimConnect_RequestDataOnSimObject(4,4,0,3,1,11,12,13)",
                          "SimConnect_RequestDataOnSimObjectType(9,4,1000,2)",
                          "SimConnect_TransmitClientEvent(0,2147483650,16383,4,16)",
                          "SimConnect_SubscribeToSystemEvent(1,\"SimStart\")",
                          "SimConnect_RequestSystemState(8,\"AircraftLoaded\")",
                          "SimConnect_GetLastSentPacketID(" + Hex(&packet) + ")",
                          "SimConnect_CallDispatch(" + Hex(reinterpret_cast<void*>(&Remember)) +
                              "," + Hex(&seen) + ")",
                          "SimConnect_UnsubscribeFromSystemEvent(1)", "SimConnect_Close()"));

  // The library calls back through the same convention.
  EXPECT_EQ(seen.id, simconnect::kRecvIdEvent);
  EXPECT_EQ(seen.size, sizeof(simconnect::RecvEvent));
  EXPECT_EQ(seen.eventId, 1u);
  EXPECT_EQ(seen.context, &seen);
  simstub::Reset();
}

}  // namespace
