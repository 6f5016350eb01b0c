#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "panels/SwitchSimVariables.h"

namespace panels::switch_panel {

// The last record the simulator sent for the switch panel. The main thread replaces it
// while reader threads decide on switch movements, so every item is an atomic of its own:
// a decision sees each value whole, from before or after a concurrent update.
class SwitchData {
 public:
  static constexpr std::size_t kItemCount = kDataItems.size();
  static constexpr std::size_t kSize = kItemCount * sizeof(std::uint32_t);

  // Takes the first kSize bytes of the record when they differ from what is held; a
  // record too short to hold every item is left alone. Returns whether anything changed.
  bool Replace(std::span<const std::uint8_t> record);
  // Whether any whole record came, changed or not: before that the zeros mean nothing.
  bool HasRecord() const { return m_hasRecord.load(std::memory_order_relaxed); }

  std::int32_t Int(SimItem item) const;
  float Float(SimItem item) const;

 private:
  std::uint32_t Bits(SimItem item) const;

  std::array<std::atomic<std::uint32_t>, kItemCount> m_items{};
  std::atomic<bool> m_hasRecord{false};
};

}  // namespace panels::switch_panel
