#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "device/CPanelClass.h"
#include "panels/AutopilotData.h"
#include "panels/AutopilotPanelReports.h"
#include "panels/AutopilotSimVariables.h"

// The autopilot panel: the selector picks what the encoder sets and what the LCD shows,
// the buttons engage the autopilot's modes, and the flaps lever and trim wheel step their
// controls. Every changed simulator record redraws the LCD and the button lights of every
// attached unit.
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

 private:
  // The unit's value table: the selector position, then what the display last written to
  // the filter was composed from.
  static constexpr std::int32_t kSelectorKey = 0;
  static constexpr std::int32_t kComposedSelectorKey = 1;
  static constexpr std::int32_t kComposedRecordKey = 2;

  static panels::autopilot_panel::Selector StoredSelector(const CPanelDevice& device);
  // Called with m_lock held.
  void RefreshDisplay(CPanelDevice& device, bool force);

  // The record, each unit's selector and each unit's refresh are shared by the main
  // thread and the readers. Never held across a call into the simulator library, which
  // may be dispatching into this behaviour at the same time.
  std::mutex m_lock;
  panels::autopilot_panel::AutopilotData m_record;
  // Written by Initialize before any unit is attached, only read afterwards.
  std::array<std::uint32_t, panels::autopilot_panel::kEventNames.size()> m_events{};
};
