// The tester's picture painted in software from the committed bitmaps: each set bit shows
// its overlay at its origin, the panel face shows through wherever an overlay is blue, and
// lit lamps are discs of 14 pixels in their colours.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "SoftwareCanvas.h"
#include "TesterFakes.h"
#include "tester/CSwitchCtrl.h"
#include "tester/SwitchLayout.h"

namespace {

using namespace panels::switch_panel;
using platform::Point;
using platform::Rgb;
using tester::LampState;
using tester_art::Image;

constexpr Rgb kDialogGrey{240, 240, 240};
constexpr int kFaceWidth = 635;
constexpr int kFaceHeight = 219;

Image Render(std::initializer_list<InputBit> bits, std::array<LampState, 3> lamps) {
  tester_fakes::FakeDialog dialog;
  tester::CSwitchCtrl ctrl;
  ctrl.CreateAndConnect(dialog, 1000, std::nullopt);
  std::array<std::uint8_t, kInputReportLength> report{};
  for (const InputBit bit : bits) report[bit.byte] |= bit.mask;
  ctrl.ProcessReport(report);
  ctrl.ShowLamps(lamps[0], lamps[1], lamps[2]);
  tester_art::SoftwareCanvas canvas(kFaceWidth, kFaceHeight, kDialogGrey);
  ctrl.OnPaint(canvas);
  EXPECT_EQ(canvas.missing, 0);
  return canvas.image();
}

TEST(PictureRendering, CommittedArtHasTheSizesOfTheLayoutAndBlueAroundThePanel) {
  const auto face = tester_art::ArtBitmap(tester::kPanelFace);
  ASSERT_TRUE(face);
  EXPECT_EQ(face->width, kFaceWidth);
  EXPECT_EQ(face->height, kFaceHeight);
  EXPECT_EQ(face->At(0, 0), platform::kTransparentColour);
  EXPECT_EQ(face->At(kFaceWidth - 1, kFaceHeight - 1), platform::kTransparentColour);
  // Every overlay lies inside the area its change repaints, or the repaint would leave
  // parts of it behind (the knob's and the lever's areas are the ones to watch).
  for (const tester::SwitchRow& row : tester::kSwitchRows) {
    if (row.overlay == tester::kNoOverlay) continue;
    const auto overlay = tester_art::ArtBitmap(row.overlay);
    ASSERT_TRUE(overlay) << row.overlay;
    EXPECT_LE(row.origin.x + overlay->width, row.repaint.right + 1) << row.overlay;
    EXPECT_LE(row.origin.y + overlay->height, row.repaint.bottom + 1) << row.overlay;
  }
}

TEST(PictureRendering, SetBitsShowTheirOverlaysAndClearOnesShowTheFace) {
  const Image rest = Render({}, {LampState::Off, LampState::Off, LampState::Off});
  const auto face = tester_art::ArtBitmap(tester::kPanelFace);
  ASSERT_TRUE(face);
  const std::vector<tester_art::OverlayProbe> probes = tester_art::OverlayProbes(*face);
  ASSERT_EQ(probes.size(), 19u);
  for (const auto& probe : probes) {
    EXPECT_EQ(rest.At(probe.at.x, probe.at.y), face->At(probe.at.x, probe.at.y))
        << "overlay " << probe.row->overlay << " drawn at rest";
  }
  // Rockers show at their very origin.
  for (const auto& probe : probes) {
    if (probe.row->overlay <= 215) {
      EXPECT_EQ(probe.at, probe.row->origin) << probe.row->overlay;
    }
  }

  const std::vector<InputBit> set = {kMasterBatteryOn, kPitotHeatOn, kCowlFlapsClosed,
                                     kNavLightsOn,     kMagnetoLeft, kGearLeverUp};
  const Image moved = Render({kMasterBatteryOn, kPitotHeatOn, kCowlFlapsClosed, kNavLightsOn,
                              kMagnetoLeft, kGearLeverUp, kGearLeverDown},
                             {LampState::Off, LampState::Off, LampState::Off});
  for (const auto& probe : probes) {
    const bool isSet = std::ranges::any_of(set, [&](InputBit bit) {
      return bit.byte == probe.row->bit.byte && bit.mask == probe.row->bit.mask;
    });
    EXPECT_EQ(moved.At(probe.at.x, probe.at.y),
              isSet ? probe.overlay : face->At(probe.at.x, probe.at.y))
        << "overlay " << probe.row->overlay;
  }
  // The knob's overlays are blue at their corners: the face shows through.
  EXPECT_EQ(moved.At(33, 61), face->At(33, 61));
  // Outside the panel the dialog shows through the face's blue border.
  EXPECT_EQ(moved.At(0, 0), kDialogGrey);
}

struct LampCase {
  LampState state;
  Rgb colour;
};

TEST(PictureRendering, LitLampsAreDiscsOfFourteenPixelsOnTheirCentres) {
  const auto face = tester_art::ArtBitmap(tester::kPanelFace);
  ASSERT_TRUE(face);
  const std::array<Point, 3> centres = {tester::kNoseLamp, tester::kLeftLamp, tester::kRightLamp};
  const std::vector<std::array<LampCase, 3>> cases = {
      {{{LampState::Green, {0, 255, 0}},
        {LampState::Red, {255, 0, 0}},
        {LampState::GreenAndRed, {255, 255, 0}}}},
      {{{LampState::Off, {}}, {LampState::GreenAndRed, {255, 255, 0}}, {LampState::Off, {}}}},
  };
  for (const auto& lamps : cases) {
    const Image image = Render({}, {lamps[0].state, lamps[1].state, lamps[2].state});
    for (std::size_t i = 0; i < centres.size(); ++i) {
      const Point c = centres[i];
      if (lamps[i].state == LampState::Off) {
        EXPECT_EQ(image.At(c.x, c.y), face->At(c.x, c.y)) << "dark lamp " << i;
        continue;
      }
      // Fourteen across: seven to either side of the centre, and nothing beyond.
      EXPECT_EQ(image.At(c.x, c.y), lamps[i].colour) << "lamp " << i;
      EXPECT_EQ(image.At(c.x - 7, c.y), lamps[i].colour) << "lamp " << i;
      EXPECT_EQ(image.At(c.x + 6, c.y), lamps[i].colour) << "lamp " << i;
      EXPECT_EQ(image.At(c.x, c.y - 7), lamps[i].colour) << "lamp " << i;
      EXPECT_EQ(image.At(c.x + 7, c.y), face->At(c.x + 7, c.y)) << "lamp " << i;
      EXPECT_EQ(image.At(c.x - 8, c.y), face->At(c.x - 8, c.y)) << "lamp " << i;
      EXPECT_EQ(image.At(c.x - 6, c.y - 6), face->At(c.x - 6, c.y - 6)) << "round, lamp " << i;
    }
  }
}

}  // namespace
