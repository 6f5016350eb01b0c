#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "StubClient.h"

#if !defined(_WIN32)
#include "platform/posix/window_abi.h"
#endif

namespace {

using simconnect::Dword;

constexpr Dword kNoGroup = 0xFFFFFFFF;

struct Seen {
  std::vector<Received> records;
  std::thread::id thread;
};

void SIMCONNECT_CALL Remember(simconnect::Recv* record, Dword size, void* context) {
  auto* seen = static_cast<Seen*>(context);
  seen->thread = std::this_thread::get_id();
  Collect(record, size, &seen->records);
}

TEST_F(StubClient, DispatchDrainsEveryPendingRecordInOrderOnTheCallersThread) {
  ASSERT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 1, "SimStart"), 0);
  ASSERT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 4, "Unpaused"), 0);
  simstub::FireSystemEvent("SimStart");
  simstub::FireSystemEvent("Paused");
  simstub::Quit();
  EXPECT_EQ(simstub::PendingRecords(), 2u);

  Seen seen;
  ASSERT_EQ(SimConnect_CallDispatch(handle_, Remember, &seen), 0);

  EXPECT_EQ(seen.thread, std::this_thread::get_id());
  ASSERT_EQ(seen.records.size(), 2u);
  const auto event = seen.records[0].As<simconnect::RecvEvent>();
  EXPECT_EQ(event.dwSize, sizeof(simconnect::RecvEvent));
  EXPECT_EQ(event.dwID, simconnect::kRecvIdEvent);
  EXPECT_EQ(event.uGroupID, kNoGroup);
  EXPECT_EQ(event.uEventID, 1u);
  const auto quit = seen.records[1].Header();
  EXPECT_EQ(quit.dwSize, sizeof(simconnect::Recv));
  EXPECT_EQ(quit.dwID, simconnect::kRecvIdQuit);
  EXPECT_EQ(simstub::PendingRecords(), 0u);
  EXPECT_TRUE(Dispatch().empty());
}

TEST_F(StubClient, SystemEventsReachEachSubscriberUntilUnsubscribed) {
  ASSERT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 3, "Paused"), 0);
  ASSERT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 5, "Paused"), 0);
  simstub::FireSystemEvent("Paused");
  EXPECT_EQ(simstub::PendingRecords(), 2u);
  Dispatch();

  ASSERT_EQ(SimConnect_UnsubscribeFromSystemEvent(handle_, 3), 0);
  simstub::FireSystemEvent("Paused");
  const auto records = Dispatch();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].As<simconnect::RecvEvent>().uEventID, 5u);
}

TEST_F(StubClient, OwnEventsEchoOnlyToNotificationGroupsWithAPriority) {
  const Dword gearUp = MapEvent(0x80000002u, "GEAR_UP");
  ASSERT_EQ(SimConnect_AddClientEventToNotificationGroup(handle_, 4, gearUp, 0), 0);
  ASSERT_EQ(SimConnect_TransmitClientEvent(handle_, 0, gearUp, 9, 4, 0), 0);
  EXPECT_EQ(simstub::PendingRecords(), 0u);

  ASSERT_EQ(SimConnect_SetNotificationGroupPriority(handle_, 4, simconnect::kGroupPriorityHighest),
            0);
  ASSERT_EQ(SimConnect_TransmitClientEvent(handle_, 0, gearUp, 9, 4, 0), 0);
  const auto records = Dispatch();
  ASSERT_EQ(records.size(), 1u);
  const auto echo = records[0].As<simconnect::RecvEvent>();
  EXPECT_EQ(echo.uGroupID, 4u);
  EXPECT_EQ(echo.uEventID, gearUp);
  EXPECT_EQ(echo.dwData, 9u);
}

// Reader threads transmit while the user-interface thread dispatches the echoes.
TEST_F(StubClient, ClientThreadsTransmitWhileAnotherDispatches) {
  constexpr int kThreads = 4;
  constexpr int kEventsEach = 200;
  const Dword toggle = MapEvent(0x80000002u, "STROBES_TOGGLE");
  ASSERT_EQ(SimConnect_AddClientEventToNotificationGroup(handle_, 4, toggle, 0), 0);
  ASSERT_EQ(SimConnect_SetNotificationGroupPriority(handle_, 4, 1), 0);

  std::atomic<int> running = kThreads;
  std::vector<std::thread> readers;
  for (int t = 0; t < kThreads; ++t) {
    readers.emplace_back([&] {
      for (int i = 0; i < kEventsEach; ++i)
        SimConnect_TransmitClientEvent(handle_, 0, toggle, 0, 4, 0);
      --running;
    });
  }
  std::size_t echoes = 0;
  while (running > 0) echoes += Dispatch().size();
  for (auto& reader : readers) reader.join();
  echoes += Dispatch().size();

  EXPECT_EQ(echoes, std::size_t{kThreads * kEventsEach});
  EXPECT_EQ(simstub::TransmittedEvents().size(), std::size_t{kThreads * kEventsEach});
  EXPECT_EQ(simstub::GetVariable("LIGHT STROBE"), 0) << "an even number of toggles";
}

#if !defined(_WIN32)
struct CountingWindow {
  KorPosixWindowAbi abi{&CountingWindow::Post};
  std::vector<std::uint32_t> messages;

  static void Post(KorPosixWindowAbi* window, std::uint32_t message, std::uintptr_t,
                   std::intptr_t) {
    reinterpret_cast<CountingWindow*>(window)->messages.push_back(message);
  }
};

TEST(StubWindow, OneMessageAnnouncesEachBatchOfPendingRecords) {
  constexpr Dword kUserMessage = 0x0400;
  simstub::Reset();
  CountingWindow window;
  simconnect::Handle handle = nullptr;
  ASSERT_EQ(SimConnect_Open(&handle, "windowed", &window.abi, kUserMessage, nullptr, 0), 0);
  EXPECT_EQ(simstub::OpenedWindow().window, &window.abi);
  EXPECT_EQ(simstub::OpenedWindow().message, kUserMessage);
  ASSERT_EQ(SimConnect_SubscribeToSystemEvent(handle, 1, "SimStart"), 0);

  simstub::FireSystemEvent("SimStart");
  simstub::Quit();
  EXPECT_THAT(window.messages, ::testing::ElementsAre(kUserMessage));

  std::vector<Received> records;
  ASSERT_EQ(SimConnect_CallDispatch(handle, Collect, &records), 0);
  simstub::Quit();
  EXPECT_EQ(window.messages.size(), 2u) << "records pending again after a drain";
  simstub::Reset();
}
#endif

}  // namespace
