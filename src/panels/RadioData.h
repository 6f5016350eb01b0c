#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

#include "panels/RadioSimVariables.h"

namespace panels::radio_panel {

// One whole record as the simulator lays it out: twelve 32-bit items in datum order.
class RadioRecord {
 public:
  static constexpr std::size_t kItemCount = kDataItems.size();
  static constexpr std::size_t kSize = kItemCount * sizeof(std::uint32_t);

  std::int32_t Int(SimItem item) const;
  float Float(SimItem item) const;

  friend bool operator==(const RadioRecord&, const RadioRecord&) = default;

 private:
  friend class RadioData;
  std::array<std::uint32_t, kItemCount> m_items{};
};

// The last record the simulator sent for the radio panel. The main thread replaces it
// while reader threads compose displays from it, so it is handed out whole, as a copy:
// a display never mixes items of two records.
class RadioData {
 public:
  // Takes the first kSize bytes of the record when they differ from what is held; a
  // record too short to hold every item is left alone. Returns whether anything changed.
  bool Replace(std::span<const std::uint8_t> record);
  RadioRecord Snapshot() const;
  // Numbers the record held, read without waiting for the lock: a new number for each
  // record taken, and never 0. Read before a snapshot, it is never newer than the record
  // the snapshot holds.
  std::uint32_t Version() const { return m_version.load(std::memory_order_acquire); }

 private:
  mutable std::mutex m_lock;
  RadioRecord m_record;
  std::atomic<std::uint32_t> m_version{1};
};

}  // namespace panels::radio_panel
