#include "panels/CPanelClass_Radios.h"

#include "simlink/CSimConnectLib.h"

CPanelClass_Radios::CPanelClass_Radios(CSimConnectLib* binding) : CPanelClass(binding) {}

// Reader threads call back into this object while they stop.
CPanelClass_Radios::~CPanelClass_Radios() {
  DetachAll();
}

bool CPanelClass_Radios::IsMyDevice(const std::wstring&) {
  return false;
}

CPanelClass::HResult CPanelClass_Radios::Initialize() {
  m_defineid = Sim().NextDefinitionId();
  return platform::kSOk;
}

void CPanelClass_Radios::OnSimObjectData(std::uint32_t, std::span<const std::uint8_t>) {}

void CPanelClass_Radios::OnDeviceOpened(CPanelDevice&) {}

void CPanelClass_Radios::OnDeviceStopping(CPanelDevice&) {}

void CPanelClass_Radios::OnInputReport(CPanelDevice&, std::uint32_t, std::span<const std::uint8_t>,
                                       std::span<const std::uint8_t>) {}
