#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "panels/AutopilotSimVariables.h"

namespace panels::autopilot_panel {

// The last record the simulator sent for the autopilot panel, byte for byte as it came:
// zero until the first one, so a display written before it shows zeros and no lights.
// Not guarded itself: the behaviour holds its lock around every use.
class AutopilotData {
 public:
  static constexpr std::size_t kSize = kDataItems.size() * sizeof(std::uint32_t);

  // Takes the first kSize bytes of the record when they differ from what is held; a
  // record too short to hold every item is left alone. Returns whether anything changed.
  bool Replace(std::span<const std::uint8_t> record);
  // Numbers the record held: a new number for each record taken, and never 0.
  std::uint32_t Version() const { return m_version; }

  float Float(SimItem item) const;
  // A lock counts as set for any value but zero.
  bool IsSet(SimItem item) const;

 private:
  std::uint32_t Bits(SimItem item) const;

  std::array<std::uint8_t, kSize> m_bytes{};
  std::uint32_t m_version = 1;
};

}  // namespace panels::autopilot_panel
