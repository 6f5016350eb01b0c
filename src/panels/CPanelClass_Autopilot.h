#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "device/CPanelClass.h"

// The autopilot panel's behaviour. Its model is not served yet: no unit is ever taken, but
// it draws its definition id in its place in the start-up order, so the ids of the
// behaviours after it stay where they belong.
class CPanelClass_Autopilot : public CPanelClass {
 public:
  explicit CPanelClass_Autopilot(CSimConnectLib* binding = nullptr);
  ~CPanelClass_Autopilot();

  bool IsMyDevice(const std::wstring& path) override;
  HResult Initialize() override;
  void OnSimObjectData(std::uint32_t requestId, std::span<const std::uint8_t> data) override;
  void OnDeviceOpened(CPanelDevice& device) override;
  void OnDeviceStopping(CPanelDevice& device) override;
  void OnInputReport(CPanelDevice& device, std::uint32_t length,
                     std::span<const std::uint8_t> previous,
                     std::span<const std::uint8_t> current) override;
};
