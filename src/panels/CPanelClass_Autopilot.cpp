#include "panels/CPanelClass_Autopilot.h"

#include "simlink/CSimConnectLib.h"

CPanelClass_Autopilot::CPanelClass_Autopilot(CSimConnectLib* binding) : CPanelClass(binding) {}

// Reader threads call back into this object while they stop.
CPanelClass_Autopilot::~CPanelClass_Autopilot() {
  DetachAll();
}

bool CPanelClass_Autopilot::IsMyDevice(const std::wstring&) {
  return false;
}

CPanelClass::HResult CPanelClass_Autopilot::Initialize() {
  m_defineid = Sim().NextDefinitionId();
  return platform::kSOk;
}

void CPanelClass_Autopilot::OnSimObjectData(std::uint32_t, std::span<const std::uint8_t>) {}

void CPanelClass_Autopilot::OnDeviceOpened(CPanelDevice&) {}

void CPanelClass_Autopilot::OnDeviceStopping(CPanelDevice&) {}

void CPanelClass_Autopilot::OnInputReport(CPanelDevice&, std::uint32_t,
                                          std::span<const std::uint8_t>,
                                          std::span<const std::uint8_t>) {}
