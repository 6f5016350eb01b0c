#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
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
  // More than any address space holds, so refused at once, and still a length a vector
  // may have.
  constexpr std::uint64_t kTooLarge = std::uint64_t{1} << 62;
  if constexpr (kTooLarge > std::numeric_limits<std::size_t>::max() / 2) {
    GTEST_SKIP() << "no length here is beyond every allocator";
  }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  // The sanitizers' operator new ends the process on a failed allocation instead of
  // throwing, whatever their options say.
  GTEST_SKIP() << "a failed allocation cannot be survived under this sanitizer";
#endif
  CPanelDevice device;
  const Bytes lamps{0, 0x11};
  ASSERT_TRUE(device.HasOutputChanged(lamps));
  // Only the length is looked at before the copy is allocated, and that allocation fails.
  const std::span<const std::uint8_t> tooLarge(lamps.data(), static_cast<std::size_t>(kTooLarge));
  EXPECT_TRUE(device.HasOutputChanged(tooLarge));
  EXPECT_TRUE(device.HasOutputChanged(lamps));
}
