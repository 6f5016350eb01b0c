#pragma once

// The tester's dialog: the picture of the switch panel with OK and Cancel. It finds the
// panel, or takes it from the command line, and hands arrivals and removals of HID
// interfaces to the picture's device side.

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "tester/CSwitchCtrl.h"

namespace tester {

inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;

class CMainDlg final : public platform::DialogHandler {
 public:
  // The program's arguments, its own name first.
  explicit CMainDlg(std::vector<std::wstring> arguments);

  void OnInitDialog(platform::Dialog& dialog) override;
  void OnDeviceChange(std::uint32_t event, const platform::DeviceBroadcast* record) override;
  void OnCommand(platform::Dialog& dialog, int itemId) override;

  // True when the device behind the path says it is a switch panel.
  static bool IsSwitchPanel(const std::wstring& devicePath);

 private:
  void FindSwitchPanel(platform::Dialog& dialog);

  std::vector<std::wstring> m_arguments;
  CSwitchCtrl m_ctrlSwitch;
};

}  // namespace tester
