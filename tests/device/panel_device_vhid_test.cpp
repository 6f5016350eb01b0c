#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "device/CPanelDevice.h"
#include "platform/sync.h"
#include "support/RecordingPanel.h"
#include "support/VirtualUnit.h"

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kProduct = 0x0B23;

class PanelDeviceTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::vhid::Reset(); }
  RecordingPanel panel{kVendor, kProduct};
};

TEST_F(PanelDeviceTest, FirstReportComesWithAllZeroPreviousAndEachBecomesTheNextPrevious) {
  VirtualUnit unit(L"\\\\?\\hid#unit1", kVendor, kProduct, 4);
  panel.AttachDevice(unit.path());
  unit.Push({0, 1, 2, 3});
  unit.Push({0, 1, 2, 3});
  unit.Push({0, 9});
  ASSERT_TRUE(unit.Settle());

  auto deliveries = panel.Deliveries(unit.path());
  ASSERT_EQ(deliveries.size(), 3u);
  EXPECT_EQ(deliveries[0].previous, Bytes({0, 0, 0, 0}));
  EXPECT_EQ(deliveries[0].current, Bytes({0, 1, 2, 3}));
  // An identical report is still delivered: deciding what changed is the behaviour's job.
  EXPECT_EQ(deliveries[1].previous, Bytes({0, 1, 2, 3}));
  EXPECT_EQ(deliveries[1].current, Bytes({0, 1, 2, 3}));
  EXPECT_EQ(deliveries[2].length, 2u);
  EXPECT_EQ(deliveries[2].previous, Bytes({0, 1, 2, 3}));
}

TEST_F(PanelDeviceTest, FailedReadDeliversNothingAndReadingGoesOn) {
  VirtualUnit unit(L"unit-read-fault", kVendor, kProduct, 4);
  panel.AttachDevice(unit.path());
  platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::Read);
  unit.Push({0, 1, 0, 0});
  ASSERT_TRUE(unit.Settle());
  platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::Read, false);
  unit.Push({0, 2, 0, 0});
  ASSERT_TRUE(unit.Settle());

  auto deliveries = panel.Deliveries(unit.path());
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_EQ(deliveries[0].previous, Bytes({0, 0, 0, 0}));
}

TEST_F(PanelDeviceTest, CloseWhileReadPendingEndsPromptlyAfterStoppingRan) {
  VirtualUnit unit(L"unit-idle", kVendor, kProduct, 4);
  CPanelDevice device;
  ASSERT_TRUE(device.Open(unit.path(), panel));
  ASSERT_TRUE(unit.Settle());

  const auto start = std::chrono::steady_clock::now();
  device.Close();
  const auto elapsed = std::chrono::steady_clock::now() - start;

  EXPECT_THAT(panel.Stopped(), ElementsAre(L"unit-idle"));
  EXPECT_LT(elapsed, std::chrono::milliseconds(CPanelDevice::kReaderStopTimeoutMs));
  EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0);
}

TEST_F(PanelDeviceTest, UnpluggedUnitWhoseReadNeverCompletesStillCloses) {
  VirtualUnit unit(L"unit-gone", kVendor, kProduct, 4);
  CPanelDevice device;
  ASSERT_TRUE(device.Open(unit.path(), panel));
  ASSERT_TRUE(unit.Settle());
  platform::vhid::Unplug(unit.path());
  device.Close();
  EXPECT_THAT(panel.Stopped(), ElementsAre(L"unit-gone"));
  EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0);
}

// A behaviour slower than its unit, so that a report is always waiting when the reader looks.
class SlowPanel : public RecordingPanel {
 public:
  using RecordingPanel::RecordingPanel;
  ~SlowPanel() { DetachAll(); }
  void OnInputReport(CPanelDevice& device, std::uint32_t length,
                     std::span<const std::uint8_t> previous,
                     std::span<const std::uint8_t> current) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    RecordingPanel::OnInputReport(device, length, previous, current);
  }
};

// A unit that never pauses must not keep its reader from seeing the stop: the detach is
// prompt, the stopping output runs, and nothing touches the unit after it is gone.
TEST_F(PanelDeviceTest, DetachWhileReportsFlowStopsTheReaderPromptly) {
  SlowPanel slow{kVendor, kProduct};
  VirtualUnit unit(L"unit-chatty", kVendor, kProduct, 4);
  slow.AttachDevice(unit.path());
  ASSERT_TRUE(unit.Settle());
  // A backlog the reader needs many seconds for, and more coming all the while.
  for (int n = 0; n < 20000; ++n) unit.Push({0, static_cast<std::uint8_t>(n), 0, 0});
  std::atomic<bool> flowing = true;
  std::thread sender([&] {
    for (std::uint8_t n = 0; flowing; ++n) {
      unit.Push({0, n, 0, 0});
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  });

  const auto start = std::chrono::steady_clock::now();
  slow.DetachDevice(unit.path());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  flowing = false;
  sender.join();

  EXPECT_THAT(slow.Stopped(), ElementsAre(L"unit-chatty"));
  EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0);
  EXPECT_LT(elapsed, std::chrono::milliseconds(CPanelDevice::kReaderStopTimeoutMs / 2));
  std::printf("detach while reports flow: %.2f ms\n",
              std::chrono::duration<double, std::milli>(elapsed).count());
}

// A behaviour that never comes back from a report and holds the unit's guard, as one
// whose feature write hangs does.
class StuckPanel : public RecordingPanel {
 public:
  using RecordingPanel::RecordingPanel;
  ~StuckPanel() { DetachAll(); }
  void OnInputReport(CPanelDevice& device, std::uint32_t, std::span<const std::uint8_t>,
                     std::span<const std::uint8_t>) override {
    const auto guard = device.Guard();
    stuck = true;
    for (;;) platform::SleepMs(10);
  }
  std::atomic<bool> stuck = false;
};

// Past the limit the reader is killed: the close is bounded, no handle to the unit stays
// open, and the process serves the next unit.
TEST_F(PanelDeviceTest, ReaderStuckPastTheLimitIsKilledAndLeavesNoHandleOpen) {
  constexpr std::uint32_t kLimitMs = 200;
  StuckPanel stuckPanel{kVendor, kProduct};
  VirtualUnit unit(L"unit-stuck", kVendor, kProduct, 4);
  CPanelDevice device(kLimitMs);
  ASSERT_TRUE(device.Open(unit.path(), stuckPanel));
  unit.Push({0, 1, 0, 0});
  for (int wait = 0; wait < 1000 && !stuckPanel.stuck; ++wait) platform::SleepMs(10);
  ASSERT_TRUE(stuckPanel.stuck);

  const auto start = std::chrono::steady_clock::now();
  device.Close();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(kLimitMs + 1000));
  EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0);
  EXPECT_TRUE(stuckPanel.Stopped().empty()) << "a killed reader runs nothing more";

  VirtualUnit next(L"unit-next", kVendor, kProduct, 4);
  panel.AttachDevice(next.path());
  next.Push({0, 2, 0, 0});
  ASSERT_TRUE(next.Settle());
  EXPECT_EQ(panel.Deliveries(next.path()).size(), 1u);
}

TEST_F(PanelDeviceTest, OpenFailsAtEachStepAndLeavesNothingOpen) {
  using platform::vhid::Fault;
  for (Fault fault : {Fault::Open, Fault::Capabilities}) {
    VirtualUnit unit(L"unit-broken", kVendor, kProduct, 4);
    platform::vhid::InjectFault(unit.path(), fault);
    CPanelDevice device;
    EXPECT_FALSE(device.Open(unit.path(), panel));
    device.Close();
    EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0);
  }
  EXPECT_TRUE(panel.Opened().empty());

  CPanelDevice missing;
  EXPECT_FALSE(missing.Open(L"no-such-unit", panel));
}

TEST_F(PanelDeviceTest, OpenTwiceIsRefused) {
  VirtualUnit unit(L"unit-twice", kVendor, kProduct, 4);
  CPanelDevice device;
  ASSERT_TRUE(device.Open(unit.path(), panel));
  EXPECT_FALSE(device.Open(unit.path(), panel));
  device.Close();
  EXPECT_EQ(panel.Opened().size(), 1u);
}

}  // namespace
