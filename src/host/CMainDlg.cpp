#include "host/CMainDlg.h"

#include "platform/messages.h"
#include "simlink/CSimConnectLib.h"

CMainDlg::~CMainDlg() {
  m_window.Destroy();
}

bool CMainDlg::Create() {
  return m_window.Create(*this, kTitle);
}

bool CMainDlg::OnCreate() {
  if (!OpenSimConnection()) return false;
  // A behaviour whose registration failed part-way still takes part: it may serve less.
  for (CPanelClass* panel : Panels()) panel->Initialize();
  m_deviceNotification =
      platform::RegisterDeviceInterfaceNotification(m_window, platform::HidClassGuid());
  EnumeratePresentDevices(platform::HidClassGuid());
  return true;
}

void CMainDlg::OnDestroy() {
  for (CPanelClass* panel : Panels()) panel->DetachAll();
  platform::PostQuit(0);
}

void CMainDlg::EnumeratePresentDevices(const platform::Guid& interfaceClass) {
  platform::ForEachPresentInterface(interfaceClass, [this](const std::wstring& path) {
    for (CPanelClass* panel : Panels()) panel->AttachDevice(path);
  });
}

void CMainDlg::OnDeviceChange(std::uint32_t event, const platform::DeviceBroadcast* record) {
  if (!record || record->deviceType != platform::kDbtDevTypDeviceInterface) return;
  const std::wstring path(record->name);
  switch (event) {
    case platform::kDbtDeviceArrival:
      for (CPanelClass* panel : Panels()) panel->AttachDevice(path);
      return;
    // A unit asked about is let go at once: the query is never refused.
    case platform::kDbtDeviceQueryRemove:
    case platform::kDbtDeviceRemoveComplete:
      for (CPanelClass* panel : Panels()) panel->DetachDevice(path);
      return;
    default:
      return;
  }
}

void CMainDlg::OnSimConnect() {
  GetSimConnectLib().CallDispatch(SimDispatchProc, this);
}
