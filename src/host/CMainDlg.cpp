#include "host/CMainDlg.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "platform/messages.h"
#include "simlink/CSimConnectLib.h"

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

}  // namespace

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

// Unit by unit in each behaviour's key order, as DetachAll closes them, so that the log
// tells how long each one took to stop.
void CMainDlg::OnDestroy() {
  for (const Slot& slot : Slots()) {
    std::vector<std::wstring> paths;
    for (const auto& [path, device] : slot.panel->Devices()) paths.push_back(path);
    for (const std::wstring& path : paths) {
      const auto start = Clock::now();
      slot.panel->DetachDevice(path);
      host::LogDetached(slot.name, path, host::DetachCause::PluginStopping, Since(start));
    }
  }
  platform::PostQuit(0);
}

void CMainDlg::EnumeratePresentDevices(const platform::Guid& interfaceClass) {
  platform::ForEachPresentInterface(interfaceClass,
                                    [this](const std::wstring& path) { Offer(path); });
}

void CMainDlg::Offer(const std::wstring& path) {
  const auto holds = [&path](const Slot& slot) { return slot.panel->Devices().contains(path); };
  const bool known = std::ranges::any_of(Slots(), holds);
  for (CPanelClass* panel : Panels()) panel->AttachDevice(path);
  if (known) return;
  const auto slots = Slots();
  if (const auto taker = std::ranges::find_if(slots, holds); taker != slots.end()) {
    host::LogAttached(taker->name, path);
    return;
  }
  // Only the panels' maker's devices are worth a line, not every HID device there is.
  std::uint32_t vendorId = 0;
  std::uint32_t productId = 0;
  if (!CPanelClass::ReadVidPid(path, vendorId, productId) || vendorId != panels::kPanelVendorId) {
    return;
  }
  const auto served =
      std::ranges::find(slots, productId, [](const Slot& slot) { return slot.model.productId; });
  host::LogDeclined(path, vendorId, productId,
                    served == slots.end() ? std::nullopt : std::optional(served->name));
}

void CMainDlg::Withdraw(const std::wstring& path, host::DetachCause cause) {
  for (const Slot& slot : Slots()) {
    const bool held = slot.panel->Devices().contains(path);
    const auto start = Clock::now();
    slot.panel->DetachDevice(path);
    if (held) host::LogDetached(slot.name, path, cause, Since(start));
  }
}

void CMainDlg::OnDeviceChange(std::uint32_t event, const platform::DeviceBroadcast* record) {
  if (!record || record->deviceType != platform::kDbtDevTypDeviceInterface) return;
  const std::wstring path(record->name);
  switch (event) {
    case platform::kDbtDeviceArrival:
      Offer(path);
      return;
    // A unit asked about is let go at once: the query is never refused.
    case platform::kDbtDeviceQueryRemove:
      Withdraw(path, host::DetachCause::SafeRemoval);
      return;
    case platform::kDbtDeviceRemoveComplete:
      Withdraw(path, host::DetachCause::Unplugged);
      return;
    default:
      return;
  }
}

void CMainDlg::OnSimConnect() {
  GetSimConnectLib().CallDispatch(SimDispatchProc, this);
}
