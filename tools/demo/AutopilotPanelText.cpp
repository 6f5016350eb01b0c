#include "tools/demo/AutopilotPanelText.h"

#include <array>

namespace demo {

using namespace panels::autopilot_panel;

namespace {

// A button or step is only ever pressed; the selector only ever moved to; the
// auto-throttle switch stays where it is put.
enum class Kind { Press, Position, Switch };

struct Control {
  InputBit bit;
  Kind kind;
  const char* name;
};

constexpr std::array kControls = {
    Control{kSelectorDetents[0], Kind::Position, "selector ALT"},
    Control{kSelectorDetents[1], Kind::Position, "selector VS"},
    Control{kSelectorDetents[2], Kind::Position, "selector IAS"},
    Control{kSelectorDetents[3], Kind::Position, "selector HDG"},
    Control{kSelectorDetents[4], Kind::Position, "selector CRS"},
    Control{kEncoderIncrease, Kind::Press, "encoder up"},
    Control{kEncoderDecrease, Kind::Press, "encoder down"},
    Control{kApButton, Kind::Press, "AP button"},
    Control{kHdgButton, Kind::Press, "HDG button"},
    Control{kNavButton, Kind::Press, "NAV button"},
    Control{kIasButton, Kind::Press, "IAS button"},
    Control{kAltButton, Kind::Press, "ALT button"},
    Control{kVsButton, Kind::Press, "VS button"},
    Control{kAprButton, Kind::Press, "APR button"},
    Control{kRevButton, Kind::Press, "REV button"},
    Control{kAutoThrottleArmed, Kind::Switch, "auto-throttle"},
    Control{kFlapsRetract, Kind::Press, "flaps up"},
    Control{kFlapsExtend, Kind::Press, "flaps down"},
    Control{kTrimNoseDown, Kind::Press, "trim nose down"},
    Control{kTrimNoseUp, Kind::Press, "trim nose up"},
};

struct Light {
  std::uint8_t bit;
  const char* name;
};

constexpr std::array kLights = {
    Light{kLightAp, "AP"},   Light{kLightHdg, "HDG"}, Light{kLightNav, "NAV"},
    Light{kLightIas, "IAS"}, Light{kLightAlt, "ALT"}, Light{kLightVs, "VS"},
    Light{kLightApr, "APR"}, Light{kLightRev, "REV"},
};

void Append(std::string& text, const std::string& item) {
  if (!text.empty()) text += ", ";
  text += item;
}

char CellText(std::uint8_t cell) {
  if (cell <= 9) return static_cast<char>('0' + cell);
  if (cell == kCellMinus) return '-';
  if (cell == kCellBlank || cell == kCellResetBlank) return ' ';
  return '?';
}

std::string RowText(std::span<const std::uint8_t> report, std::size_t at) {
  std::string row = "[";
  for (std::size_t cell = 0; cell < kCellsPerRow; ++cell) row += CellText(report[at + cell]);
  return row + "]";
}

}  // namespace

std::string DescribeAutopilotMovement(InputBytes previous, InputBytes current) {
  std::string text;
  for (const Control& control : kControls) {
    const bool now = control.bit.In(current);
    if (now == control.bit.In(previous)) continue;
    if (control.kind == Kind::Switch) {
      Append(text, std::string(control.name) + (now ? " armed" : " off"));
    } else if (now) {
      Append(text, control.name);
    }
  }
  return text.empty() ? "nothing moved" : text;
}

std::string DescribeDisplay(std::span<const std::uint8_t> report) {
  if (report.size() != kDisplayReportLength) return "not a display report";
  std::string lights;
  for (const Light& light : kLights) {
    if ((report[kLightsAt] & light.bit) != 0) Append(lights, light.name);
  }
  return "LCD " + RowText(report, kFirstRowAt) + " " + RowText(report, kSecondRowAt) + ", lights " +
         (lights.empty() ? "none" : lights);
}

}  // namespace demo
