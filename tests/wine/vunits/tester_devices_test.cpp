// The shipped tester with a switch unit at the system-library boundary: its picture is
// read back from screenshots of the display it runs on, which the script beside this
// program takes on request.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Eventually.h"
#include "SoftwareCanvas.h"
#include "TesterUnderTest.h"
#include "UnitPeer.h"
#include "panels/PanelModels.h"
#include "panels/SwitchPanelReports.h"
#include "tester/SwitchLayout.h"

namespace {

using namespace std::chrono_literals;
using namespace panels::switch_panel;
using tester_art::Image;
using ::testing::ElementsAre;
using vunits::Report;
using vunits::TesterUnderTest;
using vunits::UnitPeer;

using vunits::Eventually;
using vunits::kPatience;

vunits::UnitProfile SwitchUnit(const wchar_t* label) {
  return {label, panels::kSwitchPanel.vendorId, panels::kSwitchPanel.productId, kInputReportLength,
          kGearLightReportLength};
}

Report Lamps(std::uint8_t bits) {
  const auto report = MakeGearLightReport(bits);
  return {report.begin(), report.end()};
}

Report Switches(const std::vector<InputBit>& bits) {
  Report report(kInputReportLength, 0);
  for (const InputBit bit : bits) report[bit.byte] |= bit.mask;
  return report;
}

// The whole screen, by name: NAME.request asks the script for it, which leaves NAME.png
// as an artefact and NAME.bmp for this program.
std::optional<Image> Screenshot(const std::string& name) {
  std::ofstream(name + ".request").close();
  const std::filesystem::path bitmap = name + ".bmp";
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (!std::filesystem::exists(bitmap)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    Sleep(50);
  }
  return tester_art::ReadBitmapFile(bitmap);
}

class Shots {
 public:
  explicit Shots(std::string story) : m_story(std::move(story)) {}
  std::optional<Image> Next() { return Screenshot(m_story + "-" + std::to_string(++m_count)); }

 private:
  std::string m_story;
  int m_count = 0;
};

bool HasOnScreen(const Image& screen, POINT origin, platform::Point at, platform::Rgb colour) {
  const int x = origin.x + at.x;
  const int y = origin.y + at.y;
  return x >= 0 && y >= 0 && x < screen.width && y < screen.height && screen.At(x, y) == colour;
}

bool IsSet(const std::vector<InputBit>& bits, InputBit bit) {
  return std::any_of(bits.begin(), bits.end(),
                     [&](InputBit each) { return each.byte == bit.byte && each.mask == bit.mask; });
}

// Every overlay shows exactly when its bit is set.
bool ShowsSwitches(const Image& screen, POINT origin, const std::vector<InputBit>& set) {
  const auto face = tester_art::ArtBitmap(tester::kPanelFace);
  if (!face) return false;
  for (const auto& probe : tester_art::OverlayProbes(*face)) {
    const platform::Rgb expected =
        IsSet(set, probe.row->bit) ? probe.overlay : face->At(probe.at.x, probe.at.y);
    if (!HasOnScreen(screen, origin, probe.at, expected)) return false;
  }
  return true;
}

bool ShowsALampColour(const Image& screen, POINT origin) {
  for (const platform::Point centre : {tester::kNoseLamp, tester::kLeftLamp, tester::kRightLamp}) {
    for (const platform::Rgb colour : tester::kLampColours) {
      if (HasOnScreen(screen, origin, centre, colour)) return true;
    }
  }
  return false;
}

// What a failed look at the lamps saw, to tell a covered picture from dark lamps.
std::string LampPixels(const std::optional<Image>& screen, POINT origin) {
  if (!screen) return "no screenshot came";
  std::string seen = "at the lamp centres:";
  for (const platform::Point centre : {tester::kNoseLamp, tester::kLeftLamp, tester::kRightLamp}) {
    const int x = origin.x + centre.x;
    const int y = origin.y + centre.y;
    if (x < 0 || y < 0 || x >= screen->width || y >= screen->height) {
      seen += " off the screen";
      continue;
    }
    const platform::Rgb colour = screen->At(x, y);
    seen += " (" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
            std::to_string(colour.blue) + ")";
  }
  return seen;
}

TEST(TesterWithUnit, FoundUnitIsDrawnAsItReportsLampTestedAndLeftDarkAfterOk) {
  UnitPeer units;
  const auto unit = units.Plug(SwitchUnit(L"tester-found"));
  TesterUnderTest tester(L"");
  ASSERT_TRUE(tester.Started());
  ASSERT_TRUE(units.WaitForFeatures(unit, 1, kPatience));
  EXPECT_EQ(units.Features(unit)[0], Lamps(kAllLampsOff));
  ASSERT_TRUE(units.WaitForReader(unit, kPatience));

  const std::vector<InputBit> set = {kMasterBatteryOn, kCowlFlapsClosed, kNavLightsOn, kMagnetoLeft,
                                     kGearLeverUp};
  ASSERT_TRUE(units.Push(unit, Switches(set)));
  Shots switches("switches");
  EXPECT_TRUE(Eventually([&] {
    const auto screen = switches.Next();
    return screen && ShowsSwitches(*screen, tester.PictureOrigin(), set);
  }));
  Shots lamps("lamps");
  std::optional<Image> lastLamps;
  EXPECT_TRUE(Eventually([&] {
    lastLamps = lamps.Next();
    return lastLamps && ShowsALampColour(*lastLamps, tester.PictureOrigin());
  })) << LampPixels(lastLamps, tester.PictureOrigin());

  // The lamp test from its first step, on the unit.
  ASSERT_TRUE(units.WaitForFeatures(unit, 4, kPatience));
  const auto features = units.Features(unit);
  EXPECT_THAT(std::vector<Report>(features.begin(), features.begin() + 4),
              ElementsAre(Lamps(0x00), Lamps(0x01), Lamps(0x09), Lamps(0x08)));

  EXPECT_EQ(tester.CloseWith(WM_COMMAND, IDOK), 1);
  EXPECT_EQ(units.Features(unit).back(), Lamps(kAllLampsOff));
}

TEST(TesterWithUnit, UnitNamedOnTheCommandLineAndClosedByCancelOrTheCloseBox) {
  UnitPeer units;
  const auto unit = units.Plug(SwitchUnit(L"tester-named"));
  {
    TesterUnderTest tester(L"-L" + unit);
    ASSERT_TRUE(tester.Started());
    ASSERT_TRUE(units.WaitForFeatures(unit, 1, kPatience));
    ASSERT_TRUE(units.WaitForReader(unit, kPatience));
    EXPECT_EQ(tester.CloseWith(WM_COMMAND, IDCANCEL), 2);
  }
  EXPECT_EQ(units.Features(unit).back(), Lamps(kAllLampsOff));
  const auto written = units.Features(unit).size();
  {
    // A bare "-l": the picture's lamp test runs, with no unit looked for.
    TesterUnderTest tester(L"-l");
    ASSERT_TRUE(tester.Started());
    Shots lamps("bare-l");
    EXPECT_TRUE(Eventually([&] {
      const auto screen = lamps.Next();
      return screen && ShowsALampColour(*screen, tester.PictureOrigin());
    }));
    EXPECT_EQ(tester.CloseWith(WM_SYSCOMMAND, SC_CLOSE), 2);
  }
  EXPECT_EQ(units.Features(unit).size(), written);
}

// The dialog has the styles its template lists, caption and system menu, and no modal
// frame: the system does not add one to a modal dialog of its own accord.
TEST(TesterWithUnit, DialogHasACaptionAndASystemMenuAndNoModalFrame) {
  TesterUnderTest tester(L"");
  ASSERT_TRUE(tester.Started());
  const LONG style = GetWindowLongW(tester.Dialog(), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & WS_SYSMENU, WS_SYSMENU);
  EXPECT_EQ(style & DS_MODALFRAME, 0);
  EXPECT_EQ(tester.CloseWith(WM_COMMAND, IDOK), 1);
}

}  // namespace
