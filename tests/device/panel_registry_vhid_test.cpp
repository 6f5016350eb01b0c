#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RecordingPanel.h"
#include "support/VirtualUnit.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;

class PanelRegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::vhid::Reset(); }
  RecordingPanel panel{kVendor, 0x0B23};
};

TEST_F(PanelRegistryTest, PathInAnotherLetterCaseIsTheSameUnit) {
  VirtualUnit unit(L"\\\\?\\HID#VID_1C7A&PID_0B23#7&1", kVendor, 0x0B23, 4);
  panel.AttachDevice(unit.path());
  panel.AttachDevice(L"\\\\?\\hid#vid_1c7a&pid_0b23#7&1");
  EXPECT_EQ(panel.Devices().size(), 1u);
  EXPECT_EQ(panel.Opened().size(), 1u);

  panel.DetachDevice(L"\\\\?\\Hid#Vid_1c7a&Pid_0b23#7&1");
  EXPECT_THAT(panel.Devices(), IsEmpty());
}

TEST_F(PanelRegistryTest, OtherVendorsAndOtherModelsAreDeclined) {
  VirtualUnit otherVendor(L"other-vendor", 0x046D, 0x0B23, 4);
  VirtualUnit otherModel(L"radio-panel", kVendor, 0x0B22, 4);
  panel.AttachDevice(otherVendor.path());
  panel.AttachDevice(otherModel.path());
  panel.AttachDevice(L"not-plugged");
  EXPECT_THAT(panel.Devices(), IsEmpty());
}

TEST_F(PanelRegistryTest, UnitWhoseAttributesCannotBeReadIsNotOurs) {
  VirtualUnit unit(L"mute-unit", kVendor, 0x0B23, 4);
  platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::Attributes);
  panel.AttachDevice(unit.path());
  EXPECT_THAT(panel.Devices(), IsEmpty());
}

TEST_F(PanelRegistryTest, UnitThatFailsToOpenIsClosedAndNotRegistered) {
  VirtualUnit unit(L"broken-unit", kVendor, 0x0B23, 4);
  platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::Capabilities);
  panel.AttachDevice(unit.path());
  EXPECT_THAT(panel.Devices(), IsEmpty());
  EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0);

  // The next arrival of the same unit is a fresh chance.
  platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::Capabilities, false);
  panel.AttachDevice(unit.path());
  EXPECT_EQ(panel.Devices().size(), 1u);
}

TEST_F(PanelRegistryTest, TwoUnitsOfOneModelRunIndependently) {
  VirtualUnit first(L"unit-a", kVendor, 0x0B23, 4);
  VirtualUnit second(L"unit-b", kVendor, 0x0B23, 4);
  panel.AttachDevice(first.path());
  panel.AttachDevice(second.path());
  ASSERT_EQ(panel.Devices().size(), 2u);

  panel.DetachDevice(L"never-attached");
  panel.DetachDevice(first.path());
  EXPECT_THAT(panel.Stopped(), ElementsAre(L"unit-a"));

  second.Push({0, 1, 0, 0});
  ASSERT_TRUE(second.Settle());
  EXPECT_EQ(panel.Deliveries(second.path()).size(), 1u);
  EXPECT_THAT(panel.Deliveries(first.path()), IsEmpty());
}

TEST_F(PanelRegistryTest, DetachAllStopsEveryUnitInPathOrder) {
  VirtualUnit second(L"unit-b", kVendor, 0x0B23, 4);
  VirtualUnit first(L"unit-a", kVendor, 0x0B23, 4);
  panel.AttachDevice(second.path());
  panel.AttachDevice(first.path());
  panel.DetachAll();
  EXPECT_THAT(panel.Stopped(), ElementsAre(L"unit-a", L"unit-b"));
  EXPECT_THAT(panel.Devices(), IsEmpty());
}

TEST_F(PanelRegistryTest, ManyAttachDetachCyclesWithReportsFlowing) {
  VirtualUnit first(L"cycle-a", kVendor, 0x0B23, 4);
  VirtualUnit second(L"cycle-b", kVendor, 0x0B23, 4);
  for (int cycle = 0; cycle < 200; ++cycle) {
    panel.AttachDevice(first.path());
    panel.AttachDevice(second.path());
    first.Push({0, static_cast<std::uint8_t>(cycle), 0, 0});
    second.Push({0, 0, static_cast<std::uint8_t>(cycle), 0});
    panel.DetachDevice(first.path());
    panel.DetachDevice(second.path());
  }
  EXPECT_EQ(panel.Stopped().size(), 400u);
  EXPECT_EQ(platform::vhid::OpenHandles(first.path()), 0);
  EXPECT_EQ(platform::vhid::OpenHandles(second.path()), 0);
}

}  // namespace
