#include <gtest/gtest.h>

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
