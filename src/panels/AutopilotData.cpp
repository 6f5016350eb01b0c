#include "panels/AutopilotData.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace panels::autopilot_panel {

bool AutopilotData::Replace(std::span<const std::uint8_t> record) {
  if (record.size() < kSize) return false;
  const auto incoming = record.first<kSize>();
  if (std::ranges::equal(incoming, m_bytes)) return false;
  std::ranges::copy(incoming, m_bytes.begin());
  if (++m_version == 0) m_version = 1;
  return true;
}

float AutopilotData::Float(SimItem item) const {
  return std::bit_cast<float>(Bits(item));
}

bool AutopilotData::IsSet(SimItem item) const {
  return Bits(item) != 0;
}

std::uint32_t AutopilotData::Bits(SimItem item) const {
  std::uint32_t bits;
  std::memcpy(&bits, &m_bytes[static_cast<std::size_t>(item) * sizeof bits], sizeof bits);
  return bits;
}

}  // namespace panels::autopilot_panel
