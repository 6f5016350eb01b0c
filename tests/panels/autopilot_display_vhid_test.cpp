#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "AutopilotCells.h"
#include "AutopilotRig.h"
#include "support/VirtualUnit.h"

using platform::vhid::Report;
using ::testing::ElementsAre;
using ::testing::SizeIs;

namespace {

namespace ap = panels::autopilot_panel;

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kAutopilotModel = 0x0B21;
constexpr std::uint8_t kHdgSelected = 0x08;

// The display report of two rows written as the LCD shows them, and the lights.
Report Display(std::string_view first, std::string_view second, std::uint8_t lights = 0) {
  Report report(ap::kDisplayReportLength, 0x00);
  std::ranges::copy(Shown(first), report.begin() + ap::kFirstRowAt);
  std::ranges::copy(Shown(second), report.begin() + ap::kSecondRowAt);
  report[ap::kLightsAt] = lights;
  return report;
}

const Report kNoRecordYet = Display("00000", "__000");
const Report kReset{0x00, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x00, 0x00};

struct AutopilotUnit : VirtualUnit {
  explicit AutopilotUnit(std::wstring path)
      : VirtualUnit(std::move(path), kVendor, kAutopilotModel, 4) {}
  // Where the unit says its selector stands when it is opened.
  AutopilotUnit& SelectorAt(std::uint8_t bits) {
    const std::array<std::uint8_t, ap::kDisplayReportLength> state{0x00, bits};
    platform::vhid::SetFeatureAnswer(path(), state);
    return *this;
  }
  // Pushes a report and waits until the reader has handled it.
  void Press(std::uint8_t byte1, std::uint8_t byte2 = 0) const {
    Push({0x00, byte1, byte2, 0x00});
    EXPECT_TRUE(Settle());
  }
  Report Shows() const {
    const auto log = Features();
    return log.empty() ? Report{} : log.back();
  }
};

class AutopilotDisplayTest : public ::testing::Test {
 protected:
  void TearDown() override { rig.panel.DetachAll(); }

  void Attach(const AutopilotUnit& unit) { rig.panel.AttachDevice(unit.path()); }

  AutopilotRig rig;
};

TEST_F(AutopilotDisplayTest, UnitOpensAtTheSelectorItReportsWithAllZerosBeforeAnyRecord) {
  struct Opening {
    const char* label;
    std::uint8_t selector;
    bool readFails;
    Report shows;
  };
  for (const Opening& opening : {
           Opening{"HDG", kHdgSelected, false, Display("__000", "_____")},
           Opening{"CRS, other bits ignored", 0x10 | 0xE0, false, Display("__000", "_____")},
           Opening{"no selector bit", 0x00, false, kNoRecordYet},
           Opening{"two selector bits", 0x0C, false, kNoRecordYet},
           Opening{"read fails", kHdgSelected, true, kNoRecordYet},
       }) {
    AutopilotUnit unit(L"autopilot-1");
    unit.SelectorAt(opening.selector);
    platform::vhid::InjectFault(unit.path(), platform::vhid::Fault::GetFeature, opening.readFails);
    Attach(unit);
    EXPECT_THAT(unit.Features(), ElementsAre(opening.shows)) << opening.label;
    rig.panel.DetachDevice(unit.path());
  }
}

TEST_F(AutopilotDisplayTest, AChangedRecordRedrawsEveryUnitAtItsOwnSelector) {
  AutopilotUnit heading(L"autopilot-hdg");
  AutopilotUnit altitude(L"autopilot-alt");
  Attach(heading.SelectorAt(kHdgSelected));
  Attach(altitude);

  simstub::SetVariable("AUTOPILOT ALTITUDE LOCK VAR", 5000);
  simstub::SetVariable("AUTOPILOT VERTICAL HOLD VAR", -700);
  simstub::SetVariable("AUTOPILOT AIRSPEED HOLD VAR", 120);
  rig.SimSets("AUTOPILOT HEADING LOCK DIR", 45);
  EXPECT_EQ(heading.Shows(), Display("__045", "_____"));
  EXPECT_EQ(altitude.Shows(), Display("05000", "_-700"));

  altitude.Press(0x04);
  EXPECT_EQ(altitude.Shows(), Display("__120", "_____"));
  rig.SimSets("AUTOPILOT AIRSPEED HOLD VAR", 121);
  EXPECT_EQ(altitude.Shows(), Display("__121", "_____"));
  EXPECT_EQ(heading.Shows(), Display("__045", "_____")) << "still in HDG";
  EXPECT_THAT(heading.Features(), SizeIs(2)) << "a new record, but its display did not change";
}

TEST_F(AutopilotDisplayTest, SelectorMovedFromAltToVsRewritesTheSameContents) {
  AutopilotUnit unit(L"autopilot-1");
  Attach(unit);
  unit.Press(0x01);
  unit.Press(0x02);
  unit.Press(0x02);
  EXPECT_THAT(unit.Features(), ElementsAre(kNoRecordYet, kNoRecordYet)) << "opened, then VS";
}

TEST_F(AutopilotDisplayTest, EachLightFollowsItsOwnHold) {
  struct Light {
    const char* lock;
    std::uint8_t bit;
  };
  AutopilotUnit unit(L"autopilot-1");
  Attach(unit);
  for (const Light& light : {
           Light{"AUTOPILOT MASTER", 0x01},
           Light{"AUTOPILOT HEADING LOCK", 0x02},
           Light{"AUTOPILOT NAV1 LOCK", 0x04},
           Light{"AUTOPILOT AIRSPEED HOLD", 0x08},
           Light{"AUTOPILOT ALTITUDE LOCK", 0x10},
           Light{"AUTOPILOT VERTICAL HOLD", 0x20},
           Light{"AUTOPILOT APPROACH HOLD", 0x40},
           Light{"AUTOPILOT BACKCOURSE HOLD", 0x80},
       }) {
    rig.SimSets(light.lock, 1);
    EXPECT_EQ(unit.Shows().at(ap::kLightsAt), light.bit) << light.lock;
    rig.SimSets(light.lock, 0);
  }
  rig.SimSets("AUTOPILOT THROTTLE ARM", 1);
  EXPECT_EQ(unit.Shows().at(ap::kLightsAt), 0x00) << "the auto-throttle has no light";
}

TEST_F(AutopilotDisplayTest, StoppingUnitIsBlankedAndDarkenedPastTheFilter) {
  AutopilotUnit unit(L"autopilot-1");
  Attach(unit);
  rig.SimSets("AUTOPILOT MASTER", 1);
  rig.panel.DetachDevice(unit.path());
  EXPECT_THAT(unit.Features(), ElementsAre(kNoRecordYet, Display("00000", "__000", 0x01), kReset));
}

// Through the unit's reader and the stand-in: the panel sets the simulator, and the
// simulator's next record is what the panel then shows.
TEST_F(AutopilotDisplayTest, HeadingSetOnThePanelComesBackFromTheSimulator) {
  AutopilotUnit unit(L"autopilot-1");
  Attach(unit);
  rig.SimSets("AUTOPILOT HEADING LOCK DIR", 358);
  unit.Press(kHdgSelected);
  EXPECT_EQ(unit.Shows(), Display("__358", "_____"));

  for (int step = 0; step < 3; ++step) {
    unit.Press(kHdgSelected | 0x20);
    unit.Press(kHdgSelected);
  }
  EXPECT_EQ(unit.Shows(), Display("__358", "_____")) << "nothing shown before the record";
  rig.Frame();
  EXPECT_EQ(simstub::GetVariable("AUTOPILOT HEADING LOCK DIR"), 1);
  EXPECT_EQ(unit.Shows(), Display("__001", "_____"));

  unit.Press(kHdgSelected, 0x01);
  rig.Frame();
  EXPECT_EQ(simstub::GetVariable("AUTOPILOT HEADING LOCK"), 1);
  EXPECT_EQ(unit.Shows(), Display("__001", "_____", 0x02));
}

TEST_F(AutopilotDisplayTest, RecordsArriveWhileTwoUnitsTurnTheirKnobs) {
  AutopilotUnit first(L"autopilot-1");
  AutopilotUnit second(L"autopilot-2");
  Attach(first);
  Attach(second.SelectorAt(kHdgSelected));
  for (int frame = 0; frame < 100; ++frame) {
    const auto step = static_cast<std::uint8_t>(frame % 2 ? 0x20 : 0x00);
    first.Push({0x00, step, 0x00, 0x00});
    second.Push({0x00, static_cast<std::uint8_t>(kHdgSelected | step), 0x00, 0x00});
    rig.Frame();
  }
  ASSERT_TRUE(first.Settle() && second.Settle());
  rig.Frame();
  EXPECT_EQ(simstub::GetVariable("AUTOPILOT ALTITUDE LOCK VAR"), 5000);
  EXPECT_EQ(simstub::GetVariable("AUTOPILOT HEADING LOCK DIR"), 50);
  EXPECT_EQ(first.Shows(), Display("05000", "__000"));
  EXPECT_EQ(second.Shows(), Display("__050", "_____"));
}

}  // namespace
