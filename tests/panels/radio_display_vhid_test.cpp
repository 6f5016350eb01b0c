#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "RadioRig.h"
#include "support/VirtualUnit.h"

using namespace radio_input;
using panels::radio_panel::SimItem;
using platform::vhid::Report;
using ::testing::ElementsAre;
using ::testing::SizeIs;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kRadioModel = 0x0B22;
constexpr std::size_t kRecordItems = 12;

using Window = std::array<std::uint8_t, 5>;
constexpr std::uint8_t kDark = 0xFF;
constexpr Window kDarkWindow{kDark, kDark, kDark, kDark, kDark};

struct Item {
  SimItem item;
  std::uint32_t bits;
};
Item Value(SimItem item, std::int32_t value) {
  return {item, std::bit_cast<std::uint32_t>(value)};
}
Item Value(SimItem item, float value) {
  return {item, std::bit_cast<std::uint32_t>(value)};
}

// A record in the simulator's layout, every item not given 0.
std::vector<std::uint8_t> RecordOf(const std::vector<Item>& items) {
  std::array<std::uint32_t, kRecordItems> values{};
  for (const Item& item : items) values[static_cast<std::size_t>(item.item)] = item.bits;
  std::vector<std::uint8_t> bytes(sizeof values);
  std::memcpy(bytes.data(), values.data(), sizeof values);
  return bytes;
}

// The four windows of a display report: upper left, upper right, lower left, lower right.
std::array<Window, 4> Windows(const Report& report) {
  std::array<Window, 4> windows{};
  for (std::size_t w = 0; w < windows.size(); ++w) {
    std::memcpy(windows[w].data(), report.data() + 1 + 5 * w, 5);
  }
  return windows;
}

class RadioDisplayTest : public ::testing::Test {
 protected:
  void TearDown() override { rig.panel.DetachAll(); }

  // Plugs the unit in with its selectors where the feature read finds them.
  void AttachAt(int upperMode, int lowerMode) {
    const auto selectors = Selectors(upperMode, lowerMode);
    const std::array<std::uint8_t, 3> answer{0x00, selectors[1], selectors[2]};
    platform::vhid::SetFeatureAnswer(unit.path(), answer);
    rig.panel.AttachDevice(unit.path());
    ASSERT_EQ(rig.panel.Devices().size(), 1u);
  }
  void Receive(const std::vector<Item>& items) {
    rig.panel.OnSimObjectData(rig.panel.DefinitionId(), RecordOf(items));
  }
  void Push(const RadioRig::Report& report) {
    platform::vhid::PushInput(unit.path(), report);
    ASSERT_TRUE(unit.Settle());
  }
  std::size_t Writes() const { return unit.Features().size(); }
  std::array<Window, 4> Shown() const { return Windows(unit.Features().back()); }

  VirtualUnit unit{L"\\\\?\\HID#VID_1C7A&PID_0B22#7&1c0e&0&0000", kVendor, kRadioModel, 4};
  RadioRig rig;
};

// --- Window formats ---------------------------------------------------------------------------

struct WindowCase {
  const char* label;
  int mode;
  std::vector<Item> record;
  Window left;
  Window right;
};

TEST_F(RadioDisplayTest, EachModeShowsItsRadioInItsFormatOnBothRows) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const std::vector<WindowCase> cases = {
      {"COM1",
       kCom1,
       {Value(SimItem::Com1Active, 0x2345), Value(SimItem::Com1Standby, 0x1800)},
       {0x01, 0x02, 0xD3, 0x04, 0x05},
       {0x01, 0x01, 0xD8, 0x00, 0x00}},
      {"COM2",
       kCom2,
       {Value(SimItem::Com2Active, 0x3697), Value(SimItem::Com2Standby, 0x2150)},
       {0x01, 0x03, 0xD6, 0x09, 0x07},
       {0x01, 0x02, 0xD1, 0x05, 0x00}},
      {"NAV1",
       kNav1,
       {Value(SimItem::Nav1Active, 0x0800), Value(SimItem::Nav1Standby, 0x1795)},
       {0x01, 0x00, 0xD8, 0x00, 0x00},
       {0x01, 0x01, 0xD7, 0x09, 0x05}},
      {"NAV2",
       kNav2,
       {Value(SimItem::Nav2Active, 0x1410), Value(SimItem::Nav2Standby, 0x0930)},
       {0x01, 0x01, 0xD4, 0x01, 0x00},
       {0x01, 0x00, 0xD9, 0x03, 0x00}},
      {"ADF 0344.5",
       kAdf,
       {Value(SimItem::AdfActive, 0x03445000)},
       kDarkWindow,
       {0x00, 0x03, 0x04, 0xD4, 0x05}},
      {"XPDR 1200",
       kXpdr,
       {Value(SimItem::TransponderCode, 0x1200)},
       kDarkWindow,
       {kDark, 0x01, 0x02, 0x00, 0x00}},
      {"DME 12.34 nm at 120 kn",
       kDme,
       {Value(SimItem::DmeDistance, 12.34f), Value(SimItem::DmeSpeed, 120.0f)},
       {kDark, 0x00, 0x01, 0xD2, 0x03},
       {kDark, 0x01, 0x02, 0xD0, 0x00}},
      {"DME over a thousand shows the last digits",
       kDme,
       {Value(SimItem::DmeDistance, 1234.5f), Value(SimItem::DmeSpeed, 999.9f)},
       {kDark, 0x02, 0x03, 0xD4, 0x05},
       {kDark, 0x09, 0x09, 0xD9, 0x09}},
      {"DME behind the station",
       kDme,
       {Value(SimItem::DmeDistance, -12.34f), Value(SimItem::DmeSpeed, -0.5f)},
       {kDark, 0x00, 0xFF, 0xFE, 0xFD},
       {kDark, 0x00, 0x00, 0xD0, 0xFB}},
      {"DME beyond its digits' reach",
       kDme,
       {Value(SimItem::DmeDistance, 1e9f), Value(SimItem::DmeSpeed, -3e9f)},
       kDarkWindow,
       kDarkWindow},
      {"DME without a number",
       kDme,
       {Value(SimItem::DmeDistance, nan), Value(SimItem::DmeSpeed, infinity)},
       kDarkWindow,
       kDarkWindow},
  };
  AttachAt(kCom1, kCom1);
  for (const WindowCase& shown : cases) {
    SCOPED_TRACE(shown.label);
    Push(Selectors(shown.mode, shown.mode));
    Receive(shown.record);
    EXPECT_THAT(Shown(), ElementsAre(shown.left, shown.right, shown.left, shown.right));
    EXPECT_EQ(unit.Features().back().size(), 23u);
    EXPECT_EQ(unit.Features().back()[21], 0x00);
    EXPECT_EQ(unit.Features().back()[22], 0x00);
  }
}

// --- Attach and stop --------------------------------------------------------------------------

TEST_F(RadioDisplayTest, AttachReadsTheSelectorsAndShowsTheLastRecordAtOnce) {
  Receive({Value(SimItem::Nav1Active, 0x1050), Value(SimItem::TransponderCode, 0x7700)});
  AttachAt(kNav1, kXpdr);
  EXPECT_THAT(unit.Features(), SizeIs(1));
  EXPECT_THAT(Shown(), ElementsAre(Window{0x01, 0x01, 0xD0, 0x05, 0x00},
                                   Window{0x01, 0x00, 0xD0, 0x00, 0x00}, kDarkWindow,
                                   Window{kDark, 0x07, 0x07, 0x00, 0x00}));

  rig.panel.DetachDevice(unit.path());
  Report blank(23, 0xFF);
  blank[0] = 0x00;
  EXPECT_EQ(unit.Features().back(), blank);
  EXPECT_THAT(unit.Features(), SizeIs(2));
}

TEST_F(RadioDisplayTest, RowsWithoutASingleSelectorBitStartOnCom2) {
  Receive({Value(SimItem::Com2Active, 0x2435), Value(SimItem::Com1Active, 0x2280)});
  const std::array<std::uint8_t, 3> twoUpperBits{0x00, 0x03, 0x00};
  platform::vhid::SetFeatureAnswer(unit.path(), twoUpperBits);
  platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::GetFeature);
  rig.panel.AttachDevice(unit.path());
  const Window com2{0x01, 0x02, 0xD4, 0x03, 0x05};
  EXPECT_EQ(Shown()[0], com2) << "a failed read finds no selector";
  EXPECT_EQ(Shown()[2], com2);
  rig.panel.DetachAll();

  platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::GetFeature, false);
  rig.panel.AttachDevice(unit.path());
  EXPECT_EQ(Shown()[0], com2) << "two bits name no position";
}

// --- When the display is written ------------------------------------------------------------

TEST_F(RadioDisplayTest, ASelectorMoveWritesEvenWhenTheWindowsLookTheSame) {
  Receive({});
  AttachAt(kCom1, kNav1);
  Push(Selectors(kCom2, kNav1));
  EXPECT_EQ(Writes(), 2u) << "COM1 and COM2 are both all zero";
  Push(Selectors(kCom2, kNav1, 0, kUpperFineUp));
  EXPECT_EQ(Writes(), 2u) << "an encoder step changes no window until the record does";
}

TEST_F(RadioDisplayTest, OnlyRecordsThatChangeAShownWindowReachTheUnit) {
  AttachAt(kCom1, kNav1);
  Receive({});
  const std::size_t written = Writes();
  Receive({Value(SimItem::Com2Standby, 0x2150), Value(SimItem::DmeDistance, 4.5f)});
  EXPECT_EQ(Writes(), written) << "no row shows COM2 or the DME";
  Receive({Value(SimItem::Com2Standby, 0x2150), Value(SimItem::DmeDistance, 4.5f),
           Value(SimItem::Nav1Standby, 0x1390)});
  EXPECT_EQ(Writes(), written + 1);
  EXPECT_EQ(Shown()[3], (Window{0x01, 0x01, 0xD3, 0x09, 0x00}));

  const auto record = RecordOf({Value(SimItem::Com1Active, 0x2345)});
  rig.panel.OnSimObjectData(rig.panel.DefinitionId() + 1, record);
  rig.panel.OnSimObjectData(rig.panel.DefinitionId(), std::span(record).first(47));
  EXPECT_EQ(Writes(), written + 1) << "another request's record, and one cut short";
}

// --- Through the stand-in simulator ---------------------------------------------------------

TEST_F(RadioDisplayTest, TuningCom1StandbyAndSwappingShowsTheNewActiveFrequency) {
  AttachAt(kCom1, kNav1);
  rig.Frame();
  EXPECT_EQ(Shown()[1], (Window{0x01, 0x01, 0xD8, 0x00, 0x00})) << "standby 118.00";

  Push(Selectors(kCom1, kNav1, 0, kUpperFineUp));
  Push(Selectors(kCom1, kNav1, kUpperSwap));
  EXPECT_THAT(rig.Events(),
              ElementsAre(Sent{"COM_RADIO_FRACT_INC", 0}, Sent{"COM_STBY_RADIO_SWAP", 0}));
  rig.Frame();
  EXPECT_EQ(Shown()[0], (Window{0x01, 0x01, 0xD8, 0x00, 0x02})) << "118.025 active";
  EXPECT_EQ(Shown()[1], (Window{0x01, 0x02, 0xD2, 0x08, 0x00})) << "122.80 on standby";

  const std::size_t written = Writes();
  simstub::SetVariable("COM STANDBY FREQUENCY:2", 0x2725);
  rig.Frame();
  EXPECT_EQ(Writes(), written) << "no row shows COM2";
}

TEST_F(RadioDisplayTest, RecordsArrivingWhileTheSelectorsMoveLeaveTheLatestOnShow) {
  AttachAt(kCom1, kCom1);
  for (int frame = 0; frame < 100; ++frame) {
    platform::vhid::PushInput(unit.path(), Selectors(frame % 2 ? kDme : kCom1, kCom1));
    simstub::SetVariable("NAV1 DME", frame);
    rig.Frame();
  }
  ASSERT_TRUE(unit.Settle());
  EXPECT_EQ(Shown()[0], (Window{kDark, 0x00, 0x09, 0xD9, 0x00})) << "99 nm";
}

}  // namespace
