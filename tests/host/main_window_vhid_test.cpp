#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "host/CMainDlg.h"
#include "platform/messages.h"
#include "platform/posix/message_pump.h"
#include "platform/result.h"
#include "simstub/SimStub.h"
#include "support/FirstArgument.h"
#include "support/MainWindowFixture.h"
#include "support/VirtualUnit.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kRadioModel = 0x0B22;
constexpr std::uint16_t kSwitchModel = 0x0B23;
const platform::vhid::Report kLampsOff{0x00, 0x00};

std::vector<std::string> Calls(std::string_view entryPoint) {
  std::vector<std::string> calls;
  for (std::string& call : simstub::CallLog()) {
    if (call.starts_with(std::string(entryPoint) + "(")) calls.push_back(std::move(call));
  }
  return calls;
}

// The switch behaviour's definition id, as it registered its first variable.
simconnect::Dword SwitchDefinitionId() {
  for (const std::string& call : Calls("SimConnect_AddToDataDefinition")) {
    if (call.find("\"ELECTRICAL MASTER BATTERY\"") == std::string::npos) continue;
    return FirstArgument(call);
  }
  return 0;
}

struct SwitchUnit : VirtualUnit {
  explicit SwitchUnit(std::wstring path) : VirtualUnit(std::move(path), kVendor, kSwitchModel, 4) {}
  // Both the unit's handles (feature reports and reader) are open, once its reader waits.
  bool Attached() const { return Settle() && platform::vhid::OpenHandles(path()) == 2; }
  int Handles() const { return platform::vhid::OpenHandles(path()); }
};

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, WithoutSimulatorCreationIsRefusedAndNothingIsOpened) {
  SwitchUnit unit(L"switch-1");
  ASSERT_TRUE(simstub::FailCall("SimConnect_Open", platform::kEFail));

  EXPECT_FALSE(Create());
  EXPECT_EQ(window->Handle(), nullptr);
  EXPECT_THAT(simstub::CallLog(), ElementsAre(StartsWith("SimConnect_Open(")));
  EXPECT_EQ(unit.Handles(), 0);
  EXPECT_THAT(unit.Features(), IsEmpty());
}

TEST_F(MainWindowTest, RefusedSubscriptionRefusesCreationAndEndsTheSubscribing) {
  SwitchUnit unit(L"switch-1");
  ASSERT_TRUE(simstub::FailCall("SimConnect_SubscribeToSystemEvent", platform::kEFail, 3));

  EXPECT_FALSE(Create());
  EXPECT_THAT(Calls("SimConnect_SubscribeToSystemEvent"),
              ElementsAre("SimConnect_SubscribeToSystemEvent(1,\"SimStart\")",
                          "SimConnect_SubscribeToSystemEvent(2,\"SimStop\")",
                          "SimConnect_SubscribeToSystemEvent(3,\"Paused\")"));
  EXPECT_THAT(Calls("SimConnect_AddToDataDefinition"), IsEmpty());
  EXPECT_EQ(unit.Handles(), 0);
}

TEST_F(MainWindowTest, CreationConnectsSubscribesThenInitialisesAndAttachesPresentPanels) {
  SwitchUnit unit(L"switch-1");
  VirtualUnit keyboard(L"keyboard", 0x046D, 0xC31C, 8);

  ASSERT_TRUE(Create());
  const auto log = simstub::CallLog();
  ASSERT_THAT(log, SizeIs(::testing::Gt(5u)));
  EXPECT_THAT(log[0], StartsWith("SimConnect_Open(\"Korvane Flight Sim X Plugin\","));
  EXPECT_THAT(std::vector(log.begin() + 1, log.begin() + 5),
              ElementsAre("SimConnect_SubscribeToSystemEvent(1,\"SimStart\")",
                          "SimConnect_SubscribeToSystemEvent(2,\"SimStop\")",
                          "SimConnect_SubscribeToSystemEvent(3,\"Paused\")",
                          "SimConnect_SubscribeToSystemEvent(4,\"Unpaused\")"));
  EXPECT_THAT(log[5], StartsWith("SimConnect_AddToDataDefinition("));
  EXPECT_EQ(simstub::OpenedWindow().window, window->Handle());
  EXPECT_EQ(simstub::OpenedWindow().message, platform::kWmUser);

  EXPECT_TRUE(unit.Attached());
  EXPECT_THAT(unit.Features(), ElementsAre(kLampsOff));
  EXPECT_EQ(platform::vhid::OpenHandles(keyboard.path()), 0);
}

TEST_F(MainWindowTest, PanelPluggedInWhileRunningIsTakenByItsOwnBehaviourOnly) {
  ASSERT_TRUE(Create());
  SwitchUnit unit(L"switch-1");
  VirtualUnit radio(L"radio-1", kVendor, kRadioModel, 4);
  VirtualUnit mouse(L"mouse", 0x046D, 0xC077, 4);
  Pump();

  EXPECT_TRUE(unit.Attached());
  // A second behaviour taking the unit would have opened it a second time.
  EXPECT_THAT(unit.Features(), ElementsAre(kLampsOff));
  EXPECT_TRUE(radio.Settle());
  EXPECT_EQ(platform::vhid::OpenHandles(radio.path()), 2);
  EXPECT_THAT(radio.Features(), SizeIs(1)) << "one display, from the radio behaviour alone";
  EXPECT_EQ(platform::vhid::OpenHandles(mouse.path()), 0);
}

TEST_F(MainWindowTest, UnpluggedAndPluggedAgainIsANewUnitWithItsOwnReader) {
  ASSERT_TRUE(Create());
  {
    SwitchUnit first(L"switch-1");
    Pump();
    ASSERT_TRUE(first.Attached());
  }
  Pump();
  EXPECT_EQ(platform::vhid::OpenHandles(L"switch-1"), 0);

  SwitchUnit again(L"SWITCH-1");
  Pump();
  ASSERT_TRUE(again.Attached());
  EXPECT_THAT(again.Features(), ElementsAre(kLampsOff));
  again.Push({0x00, 0x01, 0x00, 0x00});
  ASSERT_TRUE(again.Settle());
  EXPECT_THAT(
      simstub::TransmittedEvents(),
      ElementsAre(::testing::Field(&simstub::TransmittedEvent::name, "TOGGLE_MASTER_BATTERY")));
}

TEST_F(MainWindowTest, QueryRemoveDetachesAndOnlyDeviceInterfaceRecordsCount) {
  SwitchUnit unit(L"switch-1");
  ASSERT_TRUE(Create());
  ASSERT_TRUE(unit.Attached());
  const platform::DeviceBroadcast interface { platform::kDbtDevTypDeviceInterface, unit.path() };
  constexpr std::uint32_t kDbtDevTypVolume = 2;
  const platform::DeviceBroadcast volume{kDbtDevTypVolume, unit.path()};

  window->OnDeviceChange(platform::kDbtDeviceQueryRemove, &interface);
  EXPECT_EQ(unit.Handles(), 0);

  window->OnDeviceChange(platform::kDbtDeviceArrival, nullptr);
  window->OnDeviceChange(platform::kDbtDeviceArrival, &volume);
  constexpr std::uint32_t kDbtDeviceRemovePending = 0x8003;
  window->OnDeviceChange(kDbtDeviceRemovePending, &interface);
  EXPECT_EQ(unit.Handles(), 0);

  window->OnDeviceChange(platform::kDbtDeviceArrival, &interface);
  EXPECT_TRUE(unit.Attached());
}

TEST_F(MainWindowTest, TwoSwitchPanelsAreBothAttached) {
  SwitchUnit first(L"switch-1");
  ASSERT_TRUE(Create());
  SwitchUnit second(L"switch-2");
  Pump();
  EXPECT_TRUE(first.Attached());
  EXPECT_TRUE(second.Attached());
}

TEST_F(MainWindowTest, SimStartAndUnpausedStartTheDataRequestsWhileSimStopAndPausedDoNot) {
  ASSERT_TRUE(Create());
  simstub::FireSystemEvent("SimStop");
  simstub::FireSystemEvent("Paused");
  Pump();
  EXPECT_THAT(Calls("SimConnect_RequestDataOnSimObject"), IsEmpty());

  // Autopilot, radio and switch drew their ids in that order.
  const simconnect::Dword switchId = SwitchDefinitionId();
  std::vector<std::string> requests;
  for (simconnect::Dword id : {switchId - 2, switchId - 1, switchId}) {
    requests.push_back("SimConnect_RequestDataOnSimObject(" + std::to_string(id) + "," +
                       std::to_string(id) + ",0,3,1,0,0,0)");
  }
  simstub::FireSystemEvent("SimStart");
  Pump();
  EXPECT_EQ(Calls("SimConnect_RequestDataOnSimObject"), requests);

  simstub::FireSystemEvent("Unpaused");
  Pump();
  EXPECT_THAT(Calls("SimConnect_RequestDataOnSimObject"), SizeIs(6));
}

// A data record of the switch panel's layout: battery on, retractable gear all down.
struct SwitchRecord {
  simconnect::RecvSimObjectData header{};
  std::array<std::uint32_t, 26> rest{};

  explicit SwitchRecord(simconnect::Dword requestId) {
    header.dwSize = sizeof(*this);
    header.dwID = simconnect::kRecvIdSimObjectData;
    header.dwRequestID = requestId;
    header.dwData = 1;  // battery
    rest[22] = 1;       // gear retractable
    const float down = 1.0f;
    for (std::size_t gear = 23; gear < 26; ++gear) std::memcpy(&rest[gear], &down, sizeof(down));
  }
  void Dispatch(CMainDlg& window, simconnect::Dword size) {
    CMainDlg::SimDispatchProc(&header, size, &window);
  }
};
static_assert(sizeof(SwitchRecord) == sizeof(simconnect::RecvSimObjectData) + 26 * 4);

TEST_F(MainWindowTest, DispatchHandsDataOnWholeAndDropsWhatIsNoBehavioursOwn) {
  SwitchUnit unit(L"switch-1");
  ASSERT_TRUE(Create());
  ASSERT_TRUE(unit.Attached());

  SwitchRecord(0x7777).Dispatch(*window, sizeof(SwitchRecord));
  SwitchRecord mine(SwitchDefinitionId());
  mine.Dispatch(*window, sizeof(simconnect::Recv) - 1);
  EXPECT_THAT(unit.Features(), ElementsAre(kLampsOff));

  mine.Dispatch(*window, sizeof(SwitchRecord));
  EXPECT_THAT(unit.Features(), ElementsAre(kLampsOff, platform::vhid::Report{0x00, 0x07}));

  // Echoes of the panels' own client events are not system events.
  simconnect::RecvEvent echo{};
  echo.dwSize = sizeof(echo);
  echo.dwID = simconnect::kRecvIdEvent;
  echo.uEventID = 0x80000001;
  CMainDlg::SimDispatchProc(&echo, sizeof(echo), &*window);
  EXPECT_THAT(Calls("SimConnect_RequestDataOnSimObject"), IsEmpty());
}

// The library's bytes may sit at any address: each field is read wherever it lies.
TEST_F(MainWindowTest, RecordsAtAnOddAddressAreReadWhole) {
  SwitchUnit unit(L"switch-1");
  ASSERT_TRUE(Create());
  ASSERT_TRUE(unit.Attached());
  alignas(4) std::array<std::uint8_t, 1 + sizeof(SwitchRecord)> bytes{};
  const auto dispatchAtOddAddress = [&](const auto& record) {
    std::memcpy(bytes.data() + 1, &record, sizeof(record));
    CMainDlg::SimDispatchProc(reinterpret_cast<simconnect::Recv*>(bytes.data() + 1), sizeof(record),
                              &*window);
  };

  simconnect::RecvEvent simStart{};
  simStart.dwSize = sizeof(simStart);
  simStart.dwID = simconnect::kRecvIdEvent;
  simStart.uEventID = 1;
  dispatchAtOddAddress(simStart);
  EXPECT_THAT(Calls("SimConnect_RequestDataOnSimObject"), SizeIs(3));

  dispatchAtOddAddress(SwitchRecord(SwitchDefinitionId()));
  EXPECT_THAT(unit.Features(), ElementsAre(kLampsOff, platform::vhid::Report{0x00, 0x07}));
}

TEST_F(MainWindowTest, QuitRecordClosesEveryUnitAndTheLoopEndsWithZero) {
  SwitchUnit first(L"switch-1");
  SwitchUnit second(L"switch-2");
  ASSERT_TRUE(Create());
  ASSERT_TRUE(first.Attached() && second.Attached());

  simstub::Quit();
  EXPECT_EQ(platform::RunMessageLoop(), 0);

  EXPECT_EQ(window->Handle(), nullptr);
  for (const SwitchUnit* unit : {&first, &second}) {
    EXPECT_EQ(unit->Handles(), 0);
    EXPECT_THAT(unit->Features(), ElementsAre(kLampsOff, kLampsOff));
  }
}

}  // namespace
