#include "panels/CPanelClass_Switch.h"

#include <algorithm>

#include "panels/PanelModels.h"
#include "simlink/CSimConnectLib.h"

using namespace panels::switch_panel;

namespace {

// A toggle event flips the simulator's state, so it is sent only where that state is not
// already the switch's. A set event carries the switch's position itself.
enum class Rule { Toggle, Set };

struct SwitchRow {
  InputBit control;
  Rule rule;
  SimEvent event;
  SimItem compared;
  std::uint32_t dataWhenSet;
  std::uint32_t dataWhenClear;
};

constexpr SwitchRow Toggle(InputBit control, SimItem compared, SimEvent event) {
  return {control, Rule::Toggle, event, compared, 0, 0};
}
constexpr SwitchRow Set(InputBit control, SimEvent event, std::uint32_t whenSet,
                        std::uint32_t whenClear) {
  return {control, Rule::Set, event, SimItem{}, whenSet, whenClear};
}

// The full travel of a cowl flap axis.
constexpr std::uint32_t kCowlFlapsOpen = 0x3FFF;
constexpr std::uint32_t kCowlFlapsShut = 0;

// One switch serves all four engines: each engine is brought into the switch's state.
constexpr std::array kSwitchRows = {
    Toggle(kMasterBatteryOn, SimItem::MasterBattery, SimEvent::ToggleMasterBattery),
    Toggle(kMasterAlternatorOn, SimItem::Alternator1, SimEvent::ToggleAlternator1),
    Toggle(kMasterAlternatorOn, SimItem::Alternator2, SimEvent::ToggleAlternator2),
    Toggle(kMasterAlternatorOn, SimItem::Alternator3, SimEvent::ToggleAlternator3),
    Toggle(kMasterAlternatorOn, SimItem::Alternator4, SimEvent::ToggleAlternator4),
    Toggle(kAvionicsMasterOn, SimItem::AvionicsMaster, SimEvent::ToggleAvionicsMaster),
    Toggle(kFuelPumpOn, SimItem::FuelPump1, SimEvent::ToggleFuelPump1),
    Toggle(kFuelPumpOn, SimItem::FuelPump2, SimEvent::ToggleFuelPump2),
    Toggle(kFuelPumpOn, SimItem::FuelPump3, SimEvent::ToggleFuelPump3),
    Toggle(kFuelPumpOn, SimItem::FuelPump4, SimEvent::ToggleFuelPump4),
    Set(kDeIceOn, SimEvent::AntiIceSet, 1, 0),
    Toggle(kPitotHeatOn, SimItem::PitotHeat, SimEvent::PitotHeatToggle),
    Set(kCowlFlapsClosed, SimEvent::CowlFlap1Set, kCowlFlapsShut, kCowlFlapsOpen),
    Set(kCowlFlapsClosed, SimEvent::CowlFlap2Set, kCowlFlapsShut, kCowlFlapsOpen),
    Set(kCowlFlapsClosed, SimEvent::CowlFlap3Set, kCowlFlapsShut, kCowlFlapsOpen),
    Set(kCowlFlapsClosed, SimEvent::CowlFlap4Set, kCowlFlapsShut, kCowlFlapsOpen),
    Toggle(kPanelLightsOn, SimItem::PanelLight, SimEvent::PanelLightsToggle),
    Toggle(kBeaconLightsOn, SimItem::BeaconLight, SimEvent::BeaconLightsToggle),
    Toggle(kNavLightsOn, SimItem::NavLight, SimEvent::NavLightsToggle),
    Toggle(kStrobeLightsOn, SimItem::StrobeLight, SimEvent::StrobesToggle),
    Toggle(kTaxiLightsOn, SimItem::TaxiLight, SimEvent::TaxiLightsToggle),
    Toggle(kLandingLightsOn, SimItem::LandingLight, SimEvent::LandingLightsToggle),
};

constexpr std::array kMagnetoEvents = {SimEvent::Magneto1Set, SimEvent::Magneto2Set,
                                       SimEvent::Magneto3Set, SimEvent::Magneto4Set};

// Any of these keeps the lamp circuit powered.
constexpr std::array kPowerSources = {SimItem::MasterBattery, SimItem::Alternator1,
                                      SimItem::Alternator2, SimItem::Alternator3,
                                      SimItem::Alternator4};

struct GearRow {
  SimItem position;
  GearLamps lamps;
};

constexpr std::array kGears = {GearRow{SimItem::GearCenter, kNoseGearLamps},
                               GearRow{SimItem::GearLeft, kLeftGearLamps},
                               GearRow{SimItem::GearRight, kRightGearLamps}};

// Gear positions run from 0 (retracted) to 1 (down); both thresholds are single precision,
// like the positions themselves.
constexpr float kDownAndLocked = 0.99f;
constexpr float kInTransit = 0.01f;

bool MovedInto(InputBit control, std::span<const std::uint8_t, kInputReportLength> previous,
               std::span<const std::uint8_t, kInputReportLength> current) {
  return !control.In(previous) && control.In(current);
}

}  // namespace

CPanelClass_Switch::CPanelClass_Switch(CSimConnectLib* binding) : CPanelClass(binding) {}

// Reader threads call back into this object while they stop.
CPanelClass_Switch::~CPanelClass_Switch() {
  DetachAll();
}

bool CPanelClass_Switch::IsMyDevice(const std::wstring& path) {
  return IsModel(path, panels::kSwitchPanel.vendorId, panels::kSwitchPanel.productId);
}

CPanelClass::HResult CPanelClass_Switch::Initialize() {
  m_defineid = Sim().NextDefinitionId();
  for (std::uint32_t datum = 0; datum < kDataItems.size(); ++datum) {
    const DataItem& item = kDataItems[datum];
    const HResult result = Sim().AddToDataDefinition(m_defineid, item.variable, item.units,
                                                     item.type, item.epsilon, datum);
    if (result < 0) return result;
  }
  for (std::size_t entry = 0; entry < kEventNames.size(); ++entry) {
    m_events[entry] = MapEvent(kEventNames[entry]);
  }
  return Sim().SetNotificationGroupPriority(m_defineid, simconnect::kGroupPriorityHighest);
}

void CPanelClass_Switch::OnSimObjectData(std::uint32_t requestId,
                                         std::span<const std::uint8_t> data) {
  if (requestId != m_defineid) return;
  if (!m_switchData.Replace(data)) return;
  for (const auto& [path, device] : Devices()) UpdateGearLights(*device);
}

void CPanelClass_Switch::OnDeviceOpened(CPanelDevice& device) {
  SetFeature(device, MakeGearLightReport(kAllLampsOff));
  // A unit plugged in on final approach shows the gear as it is, not dark until the
  // simulator next changes a value.
  if (m_switchData.HasRecord()) UpdateGearLights(device);
}

void CPanelClass_Switch::OnDeviceStopping(CPanelDevice& device) {
  SetFeature(device, MakeGearLightReport(kAllLampsOff));
}

void CPanelClass_Switch::OnInputReport(CPanelDevice&, std::uint32_t length,
                                       std::span<const std::uint8_t> previousReport,
                                       std::span<const std::uint8_t> currentReport) {
  if (length != kInputReportLength || previousReport.size() < kInputReportLength ||
      currentReport.size() < kInputReportLength) {
    return;
  }
  const InputReport previous = previousReport.first<kInputReportLength>();
  const InputReport current = currentReport.first<kInputReportLength>();

  for (const SwitchRow& row : kSwitchRows) {
    const bool now = row.control.In(current);
    if (row.control.In(previous) == now) continue;
    if (row.rule == Rule::Set) {
      Send(row.event, now ? row.dataWhenSet : row.dataWhenClear);
    } else if (static_cast<std::int32_t>(now) != m_switchData.Int(row.compared)) {
      Send(row.event, 0);
    }
  }

  const int position = MagnetoPosition(current);
  if (position != 0 && position != MagnetoPosition(previous)) {
    for (const SimEvent event : kMagnetoEvents) Send(event, position - 1);
  }

  if (MovedInto(kGearLeverUp, previous, current)) {
    Send(SimEvent::GearUp, 0);
  } else if (MovedInto(kGearLeverDown, previous, current)) {
    Send(SimEvent::GearDown, 0);
  }
}

int CPanelClass_Switch::MagnetoPosition(InputReport report) {
  for (std::size_t detent = 0; detent < kMagnetoDetents.size(); ++detent) {
    if (kMagnetoDetents[detent].In(report)) return static_cast<int>(detent) + 1;
  }
  return 0;
}

void CPanelClass_Switch::UpdateGearLights(CPanelDevice& device) {
  std::uint8_t lamps = kAllLampsOff;
  const bool powered = std::ranges::any_of(
      kPowerSources, [this](SimItem source) { return m_switchData.Int(source) != 0; });
  if (powered && m_switchData.Int(SimItem::GearRetractable) != 0) {
    for (const GearRow& gear : kGears) {
      const float position = m_switchData.Float(gear.position);
      if (position > kDownAndLocked) {
        lamps |= gear.lamps.green;
      } else if (position >= kInTransit) {
        lamps |= gear.lamps.red;
      }
    }
  }
  SetFeature(device, MakeGearLightReport(lamps));
}

void CPanelClass_Switch::Send(SimEvent event, std::uint32_t data) {
  SendEvent(m_events[static_cast<std::size_t>(event)], data);
}
