// The picture side of the tester: which areas a report repaints, and what a paint draws.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "TesterFakes.h"
#include "tester/CSwitchCtrl.h"

namespace {

using namespace panels::switch_panel;
using platform::Rect;
using tester::LampState;
using tester_fakes::Drawn;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using Report = std::array<std::uint8_t, kInputReportLength>;

Report Switches(std::initializer_list<InputBit> bits, std::uint8_t id = 0) {
  Report report{id, 0, 0, 0};
  for (const InputBit bit : bits) report[bit.byte] |= bit.mask;
  return report;
}

constexpr Rect kBattery{202, 43, 222, 99};
constexpr Rect kAvionics{283, 43, 303, 99};
constexpr Rect kCowl{144, 138, 164, 194};
constexpr Rect kNav{283, 138, 303, 194};
constexpr Rect kLanding{399, 138, 419, 194};
constexpr Rect kKnob{33, 61, 144, 172};
constexpr Rect kLever{533, 60, 593, 188};

// A picture in its window, with no panel behind it.
struct Picture {
  Picture() { ctrl.CreateAndConnect(dialog, 1000, std::nullopt); }
  std::vector<Drawn> Paint() {
    tester_fakes::RecordingCanvas canvas;
    ctrl.OnPaint(canvas);
    return canvas.drawn;
  }
  tester_fakes::FakeDialog dialog;
  tester::CSwitchCtrl ctrl;
};

struct ReportStep {
  const char* story;
  Report report;
  std::vector<Rect> repainted;
};

TEST(SwitchPicture, EachReportRepaintsExactlyTheRowsThatChangedInTableOrder) {
  const std::vector<ReportStep> steps = {
      {"first report: three switches on, in report order",
       Switches({kNavLightsOn, kAvionicsMasterOn, kMasterBatteryOn}),
       {kBattery, kAvionics, kNav}},
      {"the same again repaints nothing",
       Switches({kNavLightsOn, kAvionicsMasterOn, kMasterBatteryOn}),
       {}},
      {"the report id and the unassigned bits of byte 3 count for nothing",
       [] {
         Report report = Switches({kNavLightsOn, kAvionicsMasterOn, kMasterBatteryOn}, 0x7F);
         report[3] |= 0xF0;
         return report;
       }(),
       {}},
      {"battery off, cowl closed, landing lights on",
       Switches({kNavLightsOn, kAvionicsMasterOn, kCowlFlapsClosed, kLandingLightsOn}),
       {kBattery, kCowl, kLanding}},
      {"knob reaches a detent",
       Switches(
           {kNavLightsOn, kAvionicsMasterOn, kCowlFlapsClosed, kLandingLightsOn, kMagnetoBoth}),
       {kKnob}},
      {"knob turned on: one detent leaves, one comes",
       Switches(
           {kNavLightsOn, kAvionicsMasterOn, kCowlFlapsClosed, kLandingLightsOn, kMagnetoStart}),
       {kKnob, kKnob}},
      {"lever down alone repaints the lever",
       Switches({kGearLeverDown}),
       {kAvionics, kCowl, kNav, kLanding, kKnob, kLever}},
      {"lever up and down bits both change", Switches({kGearLeverUp}), {kLever, kLever}},
  };
  Picture picture;
  picture.dialog.window->TakeInvalidated();
  for (const auto& step : steps) {
    picture.ctrl.ProcessReport(step.report);
    EXPECT_THAT(picture.dialog.window->TakeInvalidated(), ElementsAreArray(step.repainted))
        << step.story;
  }
}

struct PaintCase {
  const char* story;
  std::vector<InputBit> bits;
  std::vector<Drawn> drawn;
};

TEST(SwitchPicture, PaintDrawsTheFaceThenTheOverlaysOfTheSetBitsInTableOrder) {
  const std::vector<PaintCase> cases = {
      {"all bits clear: the face alone, lever down", {}, {{202, {0, 0}, {}}}},
      {"lever down has no overlay of its own", {kGearLeverDown}, {{202, {0, 0}, {}}}},
      {"both lever bits: the lever up",
       {kGearLeverDown, kGearLeverUp},
       {{202, {0, 0}, {}}, {221, {533, 60}, {}}}},
      {"knob between two detents shows both, OFF first",
       {kMagnetoStart, kMagnetoOff},
       {{202, {0, 0}, {}}, {216, {33, 61}, {}}, {220, {33, 61}, {}}}},
      {"toggles at their places",
       {kPitotHeatOn, kMasterAlternatorOn, kStrobeLightsOn},
       {{202, {0, 0}, {}}, {204, {236, 43}, {}}, {208, {400, 43}, {}}, {213, {322, 138}, {}}}},
  };
  for (const auto& each : cases) {
    Picture picture;
    Report report{};
    for (const InputBit bit : each.bits) report[bit.byte] |= bit.mask;
    picture.ctrl.ProcessReport(report);
    EXPECT_THAT(picture.Paint(), ElementsAreArray(each.drawn)) << each.story;
  }
}

TEST(SwitchPicture, LampsAreDiscsOfFourteenPixelsInTheirColoursAndRepaintTheLampArea) {
  Picture picture;
  picture.dialog.window->TakeInvalidated();
  picture.ctrl.ShowLamps(LampState::Green, LampState::Red, LampState::GreenAndRed);
  EXPECT_THAT(picture.dialog.window->TakeInvalidated(), ElementsAre(Rect{438, 86, 510, 155}));
  tester_fakes::RecordingCanvas canvas;
  picture.ctrl.OnPaint(canvas);
  EXPECT_THAT(canvas.drawn,
              ElementsAre(Drawn{202, {0, 0}, {}}, Drawn{0, {472, 102}, {0, 255, 0}},
                          Drawn{0, {453, 137}, {255, 0, 0}}, Drawn{0, {491, 137}, {255, 255, 0}}));
  EXPECT_THAT(canvas.boxes, ElementsAre(Rect{465, 95, 479, 109}, Rect{446, 130, 460, 144},
                                        Rect{484, 130, 498, 144}));

  picture.ctrl.ShowLamps(LampState::Off, LampState::Off, LampState::Red);
  EXPECT_THAT(picture.Paint(),
              ElementsAre(Drawn{202, {0, 0}, {}}, Drawn{0, {491, 137}, {255, 0, 0}}));
}

TEST(SwitchPicture, LampsStayAsTheyWereOnceTheWindowIsGone) {
  Picture picture;
  picture.ctrl.ShowLamps(LampState::Green, LampState::Off, LampState::Off);
  picture.dialog.window->exists = false;
  picture.dialog.window->TakeInvalidated();
  picture.ctrl.ShowLamps(LampState::Off, LampState::Off, LampState::Off);
  EXPECT_THAT(picture.dialog.window->TakeInvalidated(), IsEmpty());
  EXPECT_THAT(picture.Paint(),
              ElementsAre(Drawn{202, {0, 0}, {}}, Drawn{0, {472, 102}, {0, 255, 0}}));
}

TEST(SwitchPicture, WithoutAWindowLampsAreNotSetAndReportsStillTakeEffect) {
  tester::CSwitchCtrl ctrl;
  ctrl.ShowLamps(LampState::Red, LampState::Red, LampState::Red);
  ctrl.ProcessReport(Switches({kDeIceOn}));
  tester_fakes::RecordingCanvas canvas;
  ctrl.OnPaint(canvas);
  EXPECT_THAT(canvas.drawn, ElementsAre(Drawn{202, {0, 0}, {}}, Drawn{207, {361, 43}, {}}));
}

}  // namespace
