#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/device_interfaces.h"
#include "platform/messages.h"
#include "platform/posix/message_pump.h"
#include "platform/posix/virtual_hid_bus.h"
#include "platform/posix/window_abi.h"
#include "platform/window.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct Notice {
  std::uint32_t event;
  std::uint32_t deviceType;
  std::wstring name;
  friend bool operator==(const Notice&, const Notice&) = default;
};

class RecordingHandler : public platform::WindowHandler {
 public:
  explicit RecordingHandler(bool accept = true) : accept_(accept) {}

  bool OnCreate() override {
    handleAtCreate = window.Handle();
    return accept_;
  }
  void OnDestroy() override {
    ++destroyed;
    handleAtDestroy = window.Handle();
  }
  void OnDeviceChange(std::uint32_t event, const platform::DeviceBroadcast* record) override {
    notices.push_back(record ? Notice{event, record->deviceType, std::wstring(record->name)}
                             : Notice{event, 0, L"(none)"});
  }
  void OnUserMessage() override { ++userMessages; }

  platform::WindowHandle handleAtCreate = nullptr;
  platform::WindowHandle handleAtDestroy = nullptr;
  int destroyed = 0;
  int userMessages = 0;
  std::vector<Notice> notices;
  // Last: destroyed first, while the handler it calls is still whole.
  platform::Window window;

 private:
  bool accept_;
};

void Post(platform::WindowHandle handle, std::uint32_t message) {
  auto* window = static_cast<KorPosixWindowAbi*>(handle);
  window->post(window, message, 0, 0);
}

class StandInWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    while (platform::posix::DispatchPendingMessages()) {
    }
    platform::vhid::Reset();
  }
};

TEST_F(StandInWindowTest, RefusedCreationDestroysTheWindowBeforeCreateReturns) {
  RecordingHandler handler(false);
  EXPECT_FALSE(handler.window.Create(handler, L"refused"));
  EXPECT_NE(handler.handleAtCreate, nullptr);
  EXPECT_EQ(handler.destroyed, 1);
  EXPECT_EQ(handler.window.Handle(), nullptr);
}

TEST_F(StandInWindowTest, DestroyRunsOnceWithTheHandleStillValidAndLaterPostsAreDropped) {
  RecordingHandler handler;
  ASSERT_TRUE(handler.window.Create(handler, L"window"));
  const platform::WindowHandle handle = handler.window.Handle();
  EXPECT_EQ(handler.handleAtCreate, handle);

  Post(handle, platform::kWmUser);
  handler.window.Destroy();
  handler.window.Destroy();
  EXPECT_EQ(handler.destroyed, 1);
  EXPECT_EQ(handler.handleAtDestroy, handle);

  Post(handle, platform::kWmUser);
  EXPECT_EQ(platform::posix::DispatchPendingMessages(), std::nullopt);
  EXPECT_EQ(handler.userMessages, 0);
}

TEST_F(StandInWindowTest, MessagesPostedFromOtherThreadsComeBeforeTheQuitMessage) {
  RecordingHandler handler;
  ASSERT_TRUE(handler.window.Create(handler, L"window"));
  const platform::WindowHandle handle = handler.window.Handle();

  std::thread([handle] { Post(handle, platform::kWmUser); }).join();
  platform::PostQuit(7);
  std::thread([handle] {
    Post(handle, platform::kWmUser + 1);  // no handler of its own: left to the default
    Post(handle, platform::kWmUser);
  }).join();

  EXPECT_EQ(platform::RunMessageLoop(), 7);
  EXPECT_EQ(handler.userMessages, 2);
}

TEST_F(StandInWindowTest, UnitsComingAndGoingAreAnnouncedToRegisteredWindowsOnly) {
  RecordingHandler registered;
  RecordingHandler other;
  ASSERT_TRUE(registered.window.Create(registered, L"registered"));
  ASSERT_TRUE(other.window.Create(other, L"other"));
  const platform::Guid hid = platform::HidClassGuid();
  EXPECT_NE(platform::RegisterDeviceInterfaceNotification(registered.window, hid), nullptr);
  constexpr platform::Guid kOtherClass{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(platform::RegisterDeviceInterfaceNotification(other.window, kOtherClass), nullptr);

  platform::vhid::Plug({L"Unit-A", 0x1C7A, 0x0B23, 4, 0});
  platform::vhid::Plug({L"unit-b", 0x1C7A, 0x0B22, 4, 0});
  platform::vhid::Unplug(L"unit-a");
  EXPECT_EQ(platform::posix::DispatchPendingMessages(), std::nullopt);

  constexpr std::uint32_t kInterface = platform::kDbtDevTypDeviceInterface;
  EXPECT_THAT(registered.notices,
              ElementsAre(Notice{platform::kDbtDeviceArrival, kInterface, L"Unit-A"},
                          Notice{platform::kDbtDeviceArrival, kInterface, L"unit-b"},
                          Notice{platform::kDbtDeviceRemoveComplete, kInterface, L"unit-a"}));
  EXPECT_THAT(other.notices, IsEmpty());

  std::vector<std::wstring> present;
  const auto collect = [&present](const std::wstring& path) { present.push_back(path); };
  platform::ForEachPresentInterface(hid, collect);
  platform::ForEachPresentInterface(kOtherClass, collect);
  EXPECT_THAT(present, ElementsAre(L"unit-b"));
}

}  // namespace
