#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

class Event;

struct HidAttributes {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t versionNumber = 0;
};

// The parts of the HID capabilities record the panels use; zero until read.
struct HidCaps {
  std::uint16_t usage = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t inputReportByteLength = 0;
  std::uint16_t outputReportByteLength = 0;
  std::uint16_t featureReportByteLength = 0;
};

// A HID unit opened for synchronous use: attributes, capabilities and feature reports.
class HidDevice {
 public:
  explicit HidDevice(std::wstring_view path);
  ~HidDevice();
  HidDevice(const HidDevice&) = delete;
  HidDevice& operator=(const HidDevice&) = delete;

  bool IsOpen() const { return handle_ != nullptr; }
  bool GetAttributes(HidAttributes& attributes) const;
  // False unless the capabilities were read and reported valid.
  bool GetCaps(HidCaps& caps) const;
  bool SetFeature(std::span<const std::uint8_t> report) const;
  bool GetFeature(std::span<std::uint8_t> report) const;

 private:
  void* handle_ = nullptr;
};

// A second handle to a HID unit, opened for overlapped input reads by the unit's reader thread.
class HidReader {
 public:
  enum class Outcome { Report, Failed, Stopped };

  explicit HidReader(std::wstring_view path);
  ~HidReader();
  HidReader(const HidReader&) = delete;
  HidReader& operator=(const HidReader&) = delete;

  bool IsOpen() const { return handle_ != nullptr; }
  // Reads one input report into the buffer, or gives up when `stop` is signalled first; a
  // stop signalled before the call ends it without reading. A read still pending on stop
  // is cancelled and has completed before this returns, so the buffer may be released
  // afterwards; a read that could not start is never waited for.
  Outcome Read(std::span<std::uint8_t> buffer, Event& stop, std::uint32_t& bytesRead);

 private:
  void* handle_ = nullptr;
};

}  // namespace platform
