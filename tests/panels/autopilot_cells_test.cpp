#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "AutopilotCells.h"
#include "panels/AutopilotDisplay.h"

namespace {

using namespace panels::autopilot_panel;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct CellCase {
  const char* label;
  Cells (*format)(float);
  float value;
  const char* shown;

  friend void PrintTo(const CellCase& cellCase, std::ostream* out) { *out << cellCase.label; }
};

class AutopilotCellsTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(AutopilotCellsTest, ShowsTheTruncatedDigitsOfItsValue) {
  const CellCase& cellCase = GetParam();
  EXPECT_EQ(cellCase.format(cellCase.value), Shown(cellCase.shown));
}

INSTANTIATE_TEST_SUITE_P(
    AutopilotPanel, AutopilotCellsTest,
    ::testing::Values(
        CellCase{"AltitudeWithLeadingZero", FormatAltitude, 5000, "05000"},
        CellCase{"AltitudeTensAndUnitsAreAlwaysZero", FormatAltitude, 12345, "12300"},
        CellCase{"AltitudeBeyondFiveCellsLosesItsTopDigit", FormatAltitude, 100000, "00000"},
        CellCase{"AltitudeBelowSeaLevelHasNoSign", FormatAltitude, -1200, "01200"},
        CellCase{"DescentUnderAThousand", FormatVerticalSpeed, -700, "_-700"},
        CellCase{"DescentOfAThousandAndMore", FormatVerticalSpeed, -1500, "-1500"},
        CellCase{"SlightDescentKeepsItsSign", FormatVerticalSpeed, -50, "_-000"},
        CellCase{"JustUnderAThousandDown", FormatVerticalSpeed, -999.9f, "_-900"},
        CellCase{"AThousandDown", FormatVerticalSpeed, -1000, "-1000"},
        CellCase{"ClimbOfTwelveThousandLosesItsTopDigit", FormatVerticalSpeed, 12000, "_2000"},
        CellCase{"HeadingWithLeadingZero", FormatThreeDigits, 45, "__045"},
        CellCase{"HeadingIsTruncatedNotRounded", FormatThreeDigits, 359.99f, "__359"},
        CellCase{"AirspeedIsTruncatedNotRounded", FormatThreeDigits, 99.6f, "__099"},
        // Far outside any setting: the same arithmetic, with no integer conversion to
        // overflow.
        CellCase{"AltitudeBeyondTheIntegerRange", FormatAltitude, 3.5e9f, "00000"},
        CellCase{"ClimbBeyondTheIntegerRange", FormatVerticalSpeed, 1e12f, "_0000"},
        CellCase{"DescentBeyondTheIntegerRange", FormatVerticalSpeed, -2.5e9f, "-0000"},
        // No number at all: dashes where the digits would be.
        CellCase{"AltitudeNotANumber", FormatAltitude, kNaN, "-----"},
        CellCase{"ClimbInfinite", FormatVerticalSpeed, kInfinity, "-----"},
        CellCase{"HeadingNotANumber", FormatThreeDigits, kNaN, "__---"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
