#pragma once

// The picture of the switch panel in the tester's dialog, and the one panel behind it: its
// reader thread draws the switches as the panel reports them, and while a panel (or a bare
// "-l") is attached a timer runs the lamp test on the panel and in the picture.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "panels/SwitchPanelReports.h"
#include "platform/control_window.h"
#include "platform/dialog.h"
#include "platform/sync.h"
#include "tester/SwitchLayout.h"

namespace tester {

inline constexpr std::uint32_t kLampTestTimer = 12345;
inline constexpr std::uint32_t kLampTestPeriodMs = 1000;

class CSwitchCtrl final : public platform::ControlHandler {
 public:
  using InputReport = std::span<const std::uint8_t, panels::switch_panel::kInputReportLength>;

  CSwitchCtrl();
  // Leaves the panel's gear lamps dark, then stops the reader.
  ~CSwitchCtrl();
  CSwitchCtrl(const CSwitchCtrl&) = delete;
  CSwitchCtrl& operator=(const CSwitchCtrl&) = delete;

  // Once, as the dialog starts: the picture in place of the placeholder, and with a path
  // (which may be empty) the reader and the lamp test. False without a path, and when no
  // reader could be started.
  bool CreateAndConnect(platform::Dialog& dialog, int placeholderId,
                        const std::optional<std::wstring>& devicePath);
  // A switch panel arrived; ignored (false) while one is attached.
  bool OnPanelArrived(const std::wstring& devicePath);
  // Some device went; true when it was the attached panel, by its path in any letter case.
  bool OnPanelRemoved(std::wstring_view devicePath);

  // Reader thread: takes the switch bits of an input report and repaints what changed.
  void ProcessReport(InputReport report);
  // Sets the picture's lamps; nothing happens while the window does not exist.
  void ShowLamps(LampState nose, LampState left, LampState right);

  void OnPaint(platform::Canvas& canvas) override;
  // The lamp test's next step.
  void OnTimer() override;

 private:
  bool IsSet(const SwitchRow& row) const;
  bool StartReader();
  void StopReader();
  void StartLampTest();
  void WriteLampReport(std::uint8_t lampBits) const;
  void ReadThreadProc(const std::wstring& devicePath);

  std::wstring m_strDevicePath;
  platform::Thread m_readThread;
  platform::Event m_hStopEvent;
  // Indexed like the input report; written by the reader only, read by the painter.
  std::array<std::atomic<std::uint8_t>, panels::switch_panel::kInputReportLength> m_abSwitches{};
  LampState m_nLampNose = LampState::Off;
  LampState m_nLampLeft = LampState::Off;
  LampState m_nLampRight = LampState::Off;
  int m_nLampTestStep = 0;
  std::unique_ptr<platform::ControlWindow> m_window;
};

}  // namespace tester
