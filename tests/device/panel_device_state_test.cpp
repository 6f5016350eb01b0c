#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "device/CPanelDevice.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PanelDeviceState, ValueTableReadsZeroUntilSetAndClearsOnClose) {
  CPanelDevice device;
  EXPECT_EQ(device.GetValue(3), 0);
  device.SetValue(3, 7);
  device.SetValue(3, -2);
  EXPECT_EQ(device.GetValue(3), -2);
  device.Close();
  EXPECT_EQ(device.GetValue(3), 0);
}

TEST(PanelDeviceState, OutputFilterPassesOnlyChanges) {
  CPanelDevice device;
  const Bytes lamps{0, 0x11};
  EXPECT_TRUE(device.HasOutputChanged(lamps));
  EXPECT_FALSE(device.HasOutputChanged(lamps));
  EXPECT_TRUE(device.HasOutputChanged(Bytes{0, 0x12}));
  EXPECT_TRUE(device.HasOutputChanged(Bytes{0, 0x12, 0}));
  // An empty report passes without replacing what was stored.
  EXPECT_TRUE(device.HasOutputChanged({}));
  EXPECT_FALSE(device.HasOutputChanged(Bytes{0, 0x12, 0}));
}

}  // namespace

// A report whose copy cannot be had passes, and the filter then keeps nothing: the next
// report passes too, instead of the failure ending the reader thread and the process.
TEST(PanelDeviceState, OutputFilterWithoutMemoryForTheCopyKeepsNothing) {
  if constexpr (sizeof(std::size_t) < 8) GTEST_SKIP() << "needs a length no allocator grants";
  CPanelDevice device;
  const Bytes lamps{0, 0x11};
  ASSERT_TRUE(device.HasOutputChanged(lamps));
  // Only the length is looked at before the copy is allocated, and that allocation fails.
  const std::span<const std::uint8_t> tooLarge(lamps.data(), std::size_t{1} << 46);
  EXPECT_TRUE(device.HasOutputChanged(tooLarge));
  EXPECT_TRUE(device.HasOutputChanged(lamps));
}
