#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>

#include "platform/result.h"

class CPanelDevice;
class CSimConnectLib;

// Orders device paths without regard to letter case: two spellings name one unit.
struct PathLess {
  bool operator()(const std::wstring& left, const std::wstring& right) const;
};

// Base of the panel behaviours: the registry of attached units of one model, the six
// operations through which the window, the simulator and the reader threads reach the
// behaviour, and the simulator and HID operations every behaviour uses.
class CPanelClass {
 public:
  using HResult = platform::HResult;
  using Registry = std::map<std::wstring, std::unique_ptr<CPanelDevice>, PathLess>;

  // Slot 0: whether the device at this path is of this behaviour's model.
  virtual bool IsMyDevice(const std::wstring& path) = 0;
  // Slot 1: registers data definition and events with the simulator.
  virtual HResult Initialize() = 0;
  // Slot 2: a simulator data record; `data` is its data block, valid only during the call.
  virtual void OnSimObjectData(std::uint32_t requestId, std::span<const std::uint8_t> data) = 0;
  // Slot 3: the unit is open and its reader not yet running.
  virtual void OnDeviceOpened(CPanelDevice& device) = 0;
  // Slot 4: on the unit's reader thread as it ends; the unit can still be written.
  virtual void OnDeviceStopping(CPanelDevice& device) = 0;
  // Slot 5: on the unit's reader thread, a report of `length` bytes and the one before it.
  virtual void OnInputReport(CPanelDevice& device, std::uint32_t length,
                             std::span<const std::uint8_t> previous,
                             std::span<const std::uint8_t> current) = 0;

  static bool ReadVidPid(const std::wstring& path, std::uint32_t& vendorId,
                         std::uint32_t& productId);
  static bool SetFeature(CPanelDevice& device, std::span<const std::uint8_t> report);
  static bool GetFeature(CPanelDevice& device, std::span<std::uint8_t> report);

  std::uint32_t MapEvent(const char* simEventName);
  HResult SendEvent(std::uint32_t eventId, std::uint32_t data);
  HResult StartDataRequest();

  void AttachDevice(const std::wstring& path);
  void DetachDevice(const std::wstring& path);
  void DetachAll();

  std::uint32_t DefinitionId() const { return m_defineid; }
  const Registry& Devices() const { return m_devices; }

 protected:
  // Without a binding the process-wide one is used, taken only when first needed.
  explicit CPanelClass(CSimConnectLib* binding = nullptr);
  ~CPanelClass();
  CPanelClass(const CPanelClass&) = delete;
  CPanelClass& operator=(const CPanelClass&) = delete;

  CSimConnectLib& Sim();
  // True when the unit's vendor and product identify the given model.
  static bool IsModel(const std::wstring& path, std::uint32_t vendorId, std::uint32_t productId);

  std::uint32_t m_defineid = 0;

 private:
  CSimConnectLib* m_binding;
  Registry m_devices;
};
