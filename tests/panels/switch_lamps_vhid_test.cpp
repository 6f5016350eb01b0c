#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "SwitchRig.h"
#include "support/VirtualUnit.h"

using panels::switch_panel::SimItem;
using platform::vhid::Report;
using ::testing::ElementsAre;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kSwitchModel = 0x0B23;
constexpr std::size_t kRecordSize = 108;

const Report kDark{0x00, 0x00};

// A data record as the simulator lays it out, starting from a powered aircraft with its
// retractable gear down and locked.
class Record {
 public:
  Record() {
    Set(SimItem::MasterBattery, 1).Set(SimItem::GearRetractable, 1);
    Set(SimItem::GearCenter, 1.0f).Set(SimItem::GearLeft, 1.0f).Set(SimItem::GearRight, 1.0f);
  }
  Record& Set(SimItem item, std::int32_t value) {
    return Put(item, std::bit_cast<std::uint32_t>(value));
  }
  Record& Set(SimItem item, float value) { return Put(item, std::bit_cast<std::uint32_t>(value)); }
  std::span<const std::uint8_t> Bytes() const { return m_bytes; }

 private:
  Record& Put(SimItem item, std::uint32_t bits) {
    std::memcpy(&m_bytes[static_cast<std::size_t>(item) * 4], &bits, sizeof bits);
    return *this;
  }
  std::array<std::uint8_t, kRecordSize> m_bytes{};
};

// The rig's first frame has brought the parked aircraft's record, battery off: a unit
// opens dark, and its lamps are then written from that record, dark again.
class SwitchLampsTest : public ::testing::Test {
 protected:
  void TearDown() override { rig.panel.DetachAll(); }

  VirtualUnit unit{L"switch-unit", kVendor, kSwitchModel, 4};
  SwitchRig rig;

  void Attach(const VirtualUnit& which) { rig.panel.AttachDevice(which.path()); }
  void Receive(const Record& record) { Receive(record.Bytes()); }
  void Receive(std::span<const std::uint8_t> bytes) {
    rig.panel.OnSimObjectData(rig.panel.DefinitionId(), bytes);
  }
  // The lamp bits of the last report the unit received.
  std::uint8_t Lamps() const {
    const auto log = unit.Features();
    return log.empty() ? 0xFF : log.back().at(1);
  }
};

TEST_F(SwitchLampsTest, LampsGoDarkWhenTheUnitOpensAndWhenItStops) {
  Attach(unit);
  EXPECT_THAT(unit.Features(), ElementsAre(kDark, kDark));
  Receive(Record());
  rig.panel.DetachDevice(unit.path());
  EXPECT_THAT(unit.Features(), ElementsAre(kDark, kDark, Report{0x00, 0x07}, kDark));
}

TEST_F(SwitchLampsTest, EachGearShowsGreenWhenDownRedInTransitAndNothingWhenUp) {
  Attach(unit);
  Receive(Record()
              .Set(SimItem::GearCenter, 1.0f)
              .Set(SimItem::GearLeft, 0.5f)
              .Set(SimItem::GearRight, 0.005f));
  EXPECT_EQ(Lamps(), 0x11);
  Receive(Record().Set(SimItem::GearCenter, 0.0f).Set(SimItem::GearRight, 0.5f));
  EXPECT_EQ(Lamps(), 0x22);
}

TEST_F(SwitchLampsTest, ThresholdsAreTheSinglePrecisionValues) {
  Attach(unit);
  Receive(Record().Set(SimItem::GearCenter, 0.99f));
  EXPECT_EQ(Lamps(), 0x08 | 0x06) << "exactly 0.99 is still travelling";
  Receive(Record().Set(SimItem::GearCenter, std::nextafter(0.99f, 1.0f)));
  EXPECT_EQ(Lamps(), 0x07);
  Receive(Record().Set(SimItem::GearCenter, 0.01f));
  EXPECT_EQ(Lamps(), 0x08 | 0x06) << "exactly 0.01 has left the up position";
  Receive(Record().Set(SimItem::GearCenter, std::nextafter(0.01f, 0.0f)));
  EXPECT_EQ(Lamps(), 0x06);
}

TEST_F(SwitchLampsTest, FixedGearOrADeadElectricalSystemLightsNothing) {
  Attach(unit);
  Receive(Record().Set(SimItem::GearRetractable, 0));
  EXPECT_EQ(Lamps(), 0x00);
  Receive(Record().Set(SimItem::MasterBattery, 0));
  EXPECT_EQ(Lamps(), 0x00);
  for (const SimItem alternator :
       {SimItem::Alternator1, SimItem::Alternator2, SimItem::Alternator3, SimItem::Alternator4}) {
    Receive(Record().Set(SimItem::MasterBattery, 0).Set(alternator, 1));
    EXPECT_EQ(Lamps(), 0x07) << "alternator " << static_cast<int>(alternator) << " alone";
    Receive(Record().Set(SimItem::MasterBattery, 0));
    EXPECT_EQ(Lamps(), 0x00);
  }
}

TEST_F(SwitchLampsTest, OnlyAChangedRecordIsWrittenAndThenAlways) {
  Attach(unit);
  Receive(Record());
  Receive(Record());
  EXPECT_EQ(unit.Features().size(), 3u) << "the same record again";

  // The gear handle is no lamp's business, yet the record changed.
  Receive(Record().Set(SimItem::GearHandle, 1));
  EXPECT_THAT(unit.Features(), ElementsAre(kDark, kDark, Report{0x00, 0x07}, Report{0x00, 0x07}));
}

TEST_F(SwitchLampsTest, RecordsOfOtherRequestsAndRecordsCutShortAreIgnored) {
  Attach(unit);
  const Record record;
  rig.panel.OnSimObjectData(rig.panel.DefinitionId() + 1, record.Bytes());
  Receive(record.Bytes().first(kRecordSize - 1));
  EXPECT_THAT(unit.Features(), ElementsAre(kDark, kDark));

  std::vector<std::uint8_t> padded(record.Bytes().begin(), record.Bytes().end());
  padded.resize(kRecordSize + 8, 0xEE);
  Receive(padded);
  EXPECT_EQ(Lamps(), 0x07);
}

// Plugged in with the gear down and the battery on: dark first, then the stored record's
// lamps at once, not only after the next change.
TEST_F(SwitchLampsTest, EveryUnitGetsTheLampsAndALateUnitShowsTheStoredRecordAtOnce) {
  VirtualUnit late(L"late-unit", kVendor, kSwitchModel, 4);
  Attach(unit);
  Receive(Record());
  Attach(late);
  EXPECT_THAT(late.Features(), ElementsAre(kDark, Report{0x00, 0x07}));

  Receive(Record().Set(SimItem::GearLeft, 0.5f));
  EXPECT_EQ(Lamps(), 0x15);
  EXPECT_THAT(late.Features(), ElementsAre(kDark, Report{0x00, 0x07}, Report{0x00, 0x15}));

  // Before any record there is nothing to show but dark.
  VirtualUnit first(L"first-unit", kVendor, kSwitchModel, 4);
  CPanelClass_Switch beforeAnyRecord{&rig.sim};
  beforeAnyRecord.AttachDevice(first.path());
  EXPECT_THAT(first.Features(), ElementsAre(kDark));
  beforeAnyRecord.DetachAll();
}

}  // namespace
