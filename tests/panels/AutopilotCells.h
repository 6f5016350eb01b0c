#pragma once

#include <cstddef>
#include <string_view>

#include "panels/AutopilotPanelReports.h"

// Cells written as the LCD shows them, leftmost first: a digit, '-' for the minus sign,
// '_' for a blank. "_-700" is a vertical speed of -700.
inline panels::autopilot_panel::Cells Shown(std::string_view text) {
  namespace ap = panels::autopilot_panel;
  ap::Cells cells{};
  for (std::size_t i = 0; i < cells.size() && i < text.size(); ++i) {
    const char c = text[i];
    cells[i] = c == '-'   ? ap::kCellMinus
               : c == '_' ? ap::kCellBlank
                          : static_cast<std::uint8_t>(c - '0');
  }
  return cells;
}
