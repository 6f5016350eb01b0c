#include "tools/demo/RadioPanelText.h"

#include <array>

#include "panels/CPanelClass_Radios.h"

namespace demo {

using namespace panels::radio_panel;

namespace {

constexpr std::array kModeNames = {"COM1", "COM2", "NAV1", "NAV2", "ADF", "DME", "XPDR"};
constexpr std::array kControlNames = {"coarse encoder up", "coarse encoder down", "fine encoder up",
                                      "fine encoder down", "swap"};

void Append(std::string& text, const std::string& item) {
  if (!text.empty()) text += ", ";
  text += item;
}

std::string ModeName(std::int32_t mode) {
  return mode >= 0 && static_cast<std::size_t>(mode) < kModeNames.size() ? kModeNames[mode] : "?";
}

void DescribeControls(std::string& text, const char* row, const RowControls& controls,
                      const InputBytes& rising) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].In(rising)) Append(text, std::string(row) + " " + kControlNames[i]);
  }
}

std::string DigitText(std::uint8_t code) {
  if (code == kDarkDigit) return " ";
  const bool point = (code & 0xF0) == kDecimalPoint;
  const auto digit = static_cast<std::uint8_t>(point ? code & 0x0F : code);
  if (digit > 9) return "?";
  return std::string(1, static_cast<char>('0' + digit)) + (point ? "." : "");
}

std::string WindowText(std::span<const std::uint8_t> report, std::size_t offset) {
  std::string text;
  for (std::size_t i = 0; i < kDigitsPerWindow; ++i) text += DigitText(report[offset + i]);
  return text;
}

}  // namespace

std::string DescribeRadioMovement(RadioInput previous, RadioInput current) {
  InputBytes rising{};
  for (std::size_t i = 1; i < rising.size(); ++i) {
    rising[i] = static_cast<std::uint8_t>(current[i] & ~previous[i]);
  }
  std::string text;
  constexpr std::int32_t kNone = -1;
  const std::int32_t upper = CPanelClass_Radios::DecodeUpperMode(rising[1], kNone);
  const std::int32_t lower = CPanelClass_Radios::DecodeLowerMode(rising[1], rising[2], kNone);
  if (upper != kNone) Append(text, "upper selector " + ModeName(upper));
  if (lower != kNone) Append(text, "lower selector " + ModeName(lower));
  DescribeControls(text, "upper", kUpperControls, rising);
  DescribeControls(text, "lower", kLowerControls, rising);
  return text.empty() ? "nothing moved" : text;
}

std::string RowText(std::span<const std::uint8_t> displayReport, bool upperRow) {
  if (displayReport.size() != kDisplayReportLength) return "?";
  return WindowText(displayReport, upperRow ? kUpperLeftWindow : kLowerLeftWindow) + "  " +
         WindowText(displayReport, upperRow ? kUpperRightWindow : kLowerRightWindow);
}

}  // namespace demo
