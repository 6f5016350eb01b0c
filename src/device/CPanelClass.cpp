#include "device/CPanelClass.h"

#include <algorithm>
#include <cwctype>

#include "device/CPanelDevice.h"
#include "platform/hid.h"
#include "simlink/CSimConnectLib.h"

bool PathLess::operator()(const std::wstring& left, const std::wstring& right) const {
  return std::lexicographical_compare(
      left.begin(), left.end(), right.begin(), right.end(),
      [](wchar_t a, wchar_t b) { return std::towlower(a) < std::towlower(b); });
}

CPanelClass::CPanelClass(CSimConnectLib* binding) : m_binding(binding) {}

CPanelClass::~CPanelClass() {
  DetachAll();
}

CSimConnectLib& CPanelClass::Sim() {
  return m_binding ? *m_binding : GetSimConnectLib();
}

bool CPanelClass::ReadVidPid(const std::wstring& path, std::uint32_t& vendorId,
                             std::uint32_t& productId) {
  platform::HidDevice device(path);
  if (!device.IsOpen()) return false;
  platform::HidAttributes attributes;
  if (!device.GetAttributes(attributes)) return false;
  vendorId = attributes.vendorId;
  productId = attributes.productId;
  return true;
}

bool CPanelClass::IsModel(const std::wstring& path, std::uint32_t vendorId,
                          std::uint32_t productId) {
  std::uint32_t vendor = 0;
  std::uint32_t product = 0;
  return ReadVidPid(path, vendor, product) && vendor == vendorId && product == productId;
}

bool CPanelClass::SetFeature(CPanelDevice& device, std::span<const std::uint8_t> report) {
  auto guard = device.Guard();
  const platform::HidDevice* handle = device.GetHandle();
  return handle && handle->SetFeature(report);
}

bool CPanelClass::GetFeature(CPanelDevice& device, std::span<std::uint8_t> report) {
  auto guard = device.Guard();
  const platform::HidDevice* handle = device.GetHandle();
  return handle && handle->GetFeature(report);
}

std::uint32_t CPanelClass::MapEvent(const char* simEventName) {
  const std::uint32_t id = Sim().NextEventId() | 0x80000000u;
  if (Sim().MapClientEventToSimEvent(id, simEventName) < 0) return 0;
  if (Sim().AddClientEventToNotificationGroup(m_defineid, id, false) < 0) return 0;
  return id;
}

CPanelClass::HResult CPanelClass::SendEvent(std::uint32_t eventId, std::uint32_t data) {
  if (eventId == 0) return platform::kSOk;
  return Sim().TransmitClientEvent(simconnect::kObjectIdUser, eventId, data, m_defineid, 0);
}

CPanelClass::HResult CPanelClass::StartDataRequest() {
  return Sim().RequestDataOnSimObject(m_defineid, m_defineid, simconnect::kObjectIdUser,
                                      simconnect::kPeriodSimFrame,
                                      simconnect::kDataRequestFlagChanged, 0, 0, 0);
}

void CPanelClass::AttachDevice(const std::wstring& path) {
  if (!IsMyDevice(path)) return;
  if (m_devices.contains(path)) return;
  auto device = std::make_unique<CPanelDevice>();
  if (!device->Open(path, *this)) {
    device->Close();
    return;
  }
  m_devices.emplace(path, std::move(device));
}

void CPanelClass::DetachDevice(const std::wstring& path) {
  auto found = m_devices.find(path);
  if (found == m_devices.end()) return;
  found->second->Close();
  m_devices.erase(found);
}

void CPanelClass::DetachAll() {
  for (auto& [path, device] : m_devices) device->Close();
  m_devices.clear();
}
