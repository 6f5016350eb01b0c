#include "panels/SwitchData.h"

#include <bit>
#include <cstring>

namespace panels::switch_panel {

bool SwitchData::Replace(std::span<const std::uint8_t> record) {
  if (record.size() < kSize) return false;
  m_hasRecord.store(true, std::memory_order_relaxed);
  std::array<std::uint32_t, kItemCount> incoming;
  std::memcpy(incoming.data(), record.data(), kSize);
  bool changed = false;
  for (std::size_t i = 0; i < kItemCount; ++i) {
    changed = changed || incoming[i] != m_items[i].load(std::memory_order_relaxed);
  }
  if (!changed) return false;
  for (std::size_t i = 0; i < kItemCount; ++i) {
    m_items[i].store(incoming[i], std::memory_order_relaxed);
  }
  return true;
}

std::int32_t SwitchData::Int(SimItem item) const {
  return std::bit_cast<std::int32_t>(Bits(item));
}

float SwitchData::Float(SimItem item) const {
  return std::bit_cast<float>(Bits(item));
}

std::uint32_t SwitchData::Bits(SimItem item) const {
  return m_items[static_cast<std::size_t>(item)].load(std::memory_order_relaxed);
}

}  // namespace panels::switch_panel
