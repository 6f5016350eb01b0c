#pragma once

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/posix/virtual_hid_bus.h"

// A panel unit on the virtual bus for the length of a test.
class VirtualUnit {
 public:
  VirtualUnit(std::wstring path, std::uint16_t vendorId, std::uint16_t productId,
              std::uint16_t inputLength)
      : m_path(std::move(path)) {
    platform::vhid::Plug({m_path, vendorId, productId, inputLength, 0});
  }
  ~VirtualUnit() { platform::vhid::Unplug(m_path); }

  const std::wstring& path() const { return m_path; }

  void Push(std::initializer_list<std::uint8_t> report) const {
    std::vector<std::uint8_t> bytes(report);
    platform::vhid::PushInput(m_path, bytes);
  }
  // Waits until the unit's reader has handled everything pushed so far.
  bool Settle() const { return platform::vhid::WaitUntilIdle(m_path, std::chrono::seconds(10)); }
  std::vector<platform::vhid::Report> Features() const {
    return platform::vhid::FeatureLog(m_path);
  }

 private:
  std::wstring m_path;
};
