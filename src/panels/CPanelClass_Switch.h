#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "device/CPanelClass.h"
#include "panels/SwitchData.h"
#include "panels/SwitchPanelReports.h"
#include "panels/SwitchSimVariables.h"

// The switch panel: rocker switches, the magneto knob and the gear lever become client
// events; the simulator's gear state lights the gear lamps of every attached unit.
class CPanelClass_Switch : public CPanelClass {
 public:
  explicit CPanelClass_Switch(CSimConnectLib* binding = nullptr);
  ~CPanelClass_Switch();

  bool IsMyDevice(const std::wstring& path) override;
  HResult Initialize() override;
  void OnSimObjectData(std::uint32_t requestId, std::span<const std::uint8_t> data) override;
  void OnDeviceOpened(CPanelDevice& device) override;
  void OnDeviceStopping(CPanelDevice& device) override;
  void OnInputReport(CPanelDevice& device, std::uint32_t length,
                     std::span<const std::uint8_t> previous,
                     std::span<const std::uint8_t> current) override;

 private:
  using InputReport = std::span<const std::uint8_t, panels::switch_panel::kInputReportLength>;

  // 1 OFF, 2 R, 3 L, 4 BOTH, 5 START; 0 while the knob is between detents.
  static int MagnetoPosition(InputReport report);
  void UpdateGearLights(CPanelDevice& device);
  void Send(panels::switch_panel::SimEvent event, std::uint32_t data);

  panels::switch_panel::SwitchData m_switchData;
  // Written by Initialize before any unit is attached, only read afterwards.
  std::array<std::uint32_t, panels::switch_panel::kEventNames.size()> m_events{};
};
