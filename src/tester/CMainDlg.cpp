#include "tester/CMainDlg.h"

#include "panels/PanelModels.h"
#include "platform/device_interfaces.h"
#include "platform/hid.h"
#include "platform/messages.h"
#include "tester/TesterArguments.h"

namespace tester {

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

}  // namespace

CMainDlg::CMainDlg(std::vector<std::wstring> arguments) : m_arguments(std::move(arguments)) {}

void CMainDlg::OnInitDialog(platform::Dialog& dialog) {
  dialog.Centre();
  dialog.SetIcons(IDI_TESTER);
  // A path on the command line is taken as it is, whatever device it names.
  if (const auto named = PanelPathArgument(m_arguments)) {
    m_ctrlSwitch.CreateAndConnect(dialog, IDC_PICTURE, named);
  } else {
    FindSwitchPanel(dialog);
  }
  // Never undone: it ends with the window.
  platform::RegisterDeviceInterfaceNotification(dialog.Handle(), platform::HidClassGuid());
}

void CMainDlg::FindSwitchPanel(platform::Dialog& dialog) {
  std::optional<std::wstring> found;
  // The first switch panel in enumeration order; the others are not asked.
  platform::ForEachPresentInterface(platform::HidClassGuid(), [&](const std::wstring& path) {
    if (!found && IsSwitchPanel(path)) found = path;
  });
  m_ctrlSwitch.CreateAndConnect(dialog, IDC_PICTURE, found);
}

bool CMainDlg::IsSwitchPanel(const std::wstring& devicePath) {
  const platform::HidDevice unit(devicePath);
  platform::HidAttributes attributes;
  return unit.IsOpen() && unit.GetAttributes(attributes) &&
         attributes.vendorId == panels::kSwitchPanel.vendorId &&
         attributes.productId == panels::kSwitchPanel.productId;
}

void CMainDlg::OnDeviceChange(std::uint32_t event, const platform::DeviceBroadcast* record) {
  if (!record || record->deviceType != platform::kDbtDevTypDeviceInterface) return;
  const std::wstring path(record->name);
  if (event == platform::kDbtDeviceArrival) {
    if (IsSwitchPanel(path)) m_ctrlSwitch.OnPanelArrived(path);
  } else if (event == platform::kDbtDeviceRemoveComplete) {
    m_ctrlSwitch.OnPanelRemoved(path);
  }
}

void CMainDlg::OnCommand(platform::Dialog& dialog, int itemId) {
  if (itemId == kIdOk) dialog.End(kResultOk);
  if (itemId == kIdCancel) dialog.End(kResultCancel);
}

}  // namespace tester
