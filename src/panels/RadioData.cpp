#include "panels/RadioData.h"

#include <bit>
#include <cstring>

namespace panels::radio_panel {

std::int32_t RadioRecord::Int(SimItem item) const {
  return std::bit_cast<std::int32_t>(m_items[static_cast<std::size_t>(item)]);
}

float RadioRecord::Float(SimItem item) const {
  return std::bit_cast<float>(m_items[static_cast<std::size_t>(item)]);
}

bool RadioData::Replace(std::span<const std::uint8_t> record) {
  if (record.size() < RadioRecord::kSize) return false;
  RadioRecord incoming;
  std::memcpy(incoming.m_items.data(), record.data(), RadioRecord::kSize);
  std::lock_guard lock(m_lock);
  if (incoming == m_record) return false;
  m_record = incoming;
  const std::uint32_t next = m_version.load(std::memory_order_relaxed) + 1;
  m_version.store(next == 0 ? 1 : next, std::memory_order_release);
  return true;
}

RadioRecord RadioData::Snapshot() const {
  std::lock_guard lock(m_lock);
  return m_record;
}

}  // namespace panels::radio_panel
