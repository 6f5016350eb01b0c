#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/SessionLog.h"
#include "panels/CPanelClass_Autopilot.h"
#include "panels/CPanelClass_Radios.h"
#include "panels/CPanelClass_Switch.h"
#include "panels/PanelModels.h"
#include "platform/device_interfaces.h"
#include "platform/window.h"
#include "simlink/SimConnectApi.h"

// The plug-in's hidden main window and the owner of the three panel behaviours. It is the
// simulator library's target for "records are waiting" and the system's target for panel
// arrival and removal; every handler hands the event to the behaviours in the order
// autopilot, radio, switch.
//
// A process runs the plug-in as: construct, Create(), and when that succeeds
// platform::RunMessageLoop() until the simulator quits. A refused Create() means no
// simulator: the process ends quietly.
class CMainDlg final : public platform::WindowHandler {
 public:
  static constexpr std::wstring_view kTitle = L"Korvane Panel(s) Plugin for FSX";

  CMainDlg() = default;
  // Destroys a window still open, so the behaviours close their units while they exist.
  ~CMainDlg();
  CMainDlg(const CMainDlg&) = delete;
  CMainDlg& operator=(const CMainDlg&) = delete;

  // Creates the hidden window; false when it was refused (no simulator connection).
  bool Create();
  platform::WindowHandle Handle() const { return m_window.Handle(); }

  // Window message handlers.
  bool OnCreate() override;
  void OnDestroy() override;
  void OnDeviceChange(std::uint32_t event, const platform::DeviceBroadcast* record) override;
  void OnSimConnect();

  void EnumeratePresentDevices(const platform::Guid& interfaceClass);

  // Simulator connection and dispatch.
  bool OpenSimConnection();
  static void SIMCONNECT_CALL SimDispatchProc(simconnect::Recv* record, simconnect::Dword size,
                                              void* context);
  // The record's bytes as the library hands them over, `size` of them.
  void OnSimMessage(const std::uint8_t* record, simconnect::Dword size);

 private:
  void OnUserMessage() override { OnSimConnect(); }
  void OnSystemEvent(simconnect::Dword eventId);
  // A path offered to every behaviour, and taken away from every behaviour.
  void Offer(const std::wstring& path);
  void Withdraw(const std::wstring& path, host::DetachCause cause);

  // A behaviour with the model it serves, under the name the log gives it.
  struct Slot {
    CPanelClass* panel;
    panels::PanelModel model;
    std::wstring_view name;
  };
  // The fan-out order of every event.
  std::array<Slot, 3> Slots() {
    return {{{&m_autopilot, panels::kAutopilotPanel, L"autopilot panel"},
             {&m_radios, panels::kRadioPanel, L"radio panel"},
             {&m_switch, panels::kSwitchPanel, L"switch panel"}}};
  }
  std::array<CPanelClass*, 3> Panels() {
    const auto slots = Slots();
    return {slots[0].panel, slots[1].panel, slots[2].panel};
  }

  platform::Window m_window;
  CPanelClass_Autopilot m_autopilot;
  CPanelClass_Radios m_radios;
  CPanelClass_Switch m_switch;
  platform::DeviceNotification m_deviceNotification = nullptr;
};
