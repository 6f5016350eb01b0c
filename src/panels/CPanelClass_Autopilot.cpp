#include "panels/CPanelClass_Autopilot.h"

#include <algorithm>
#include <optional>

#include "device/CPanelDevice.h"
#include "panels/AutopilotDisplay.h"
#include "panels/PanelModels.h"
#include "simlink/CSimConnectLib.h"

using namespace panels::autopilot_panel;

namespace {

constexpr std::size_t Index(Selector position) {
  return static_cast<std::size_t>(position);
}

// What the encoder sets in each selector position.
struct EncoderRow {
  SimEvent increase;
  SimEvent decrease;
};

constexpr std::array<EncoderRow, kSelectorPositions> kEncoder = {
    EncoderRow{SimEvent::AltVarInc, SimEvent::AltVarDec},
    EncoderRow{SimEvent::VsVarInc, SimEvent::VsVarDec},
    EncoderRow{SimEvent::SpdVarInc, SimEvent::SpdVarDec},
    EncoderRow{SimEvent::HeadingBugInc, SimEvent::HeadingBugDec},
    EncoderRow{SimEvent::Vor1ObiInc, SimEvent::Vor1ObiDec},
};

// The panel-set events carry the state the mode is to take: engaged unless the simulator
// already holds it, so the button works as a toggle the simulator cannot get out of step
// with. The other buttons' events toggle by themselves.
struct ButtonRow {
  InputBit bit;
  SimEvent event;
  std::optional<SimItem> engagedBy;
};

constexpr std::array kButtons = {
    ButtonRow{kApButton, SimEvent::Master, std::nullopt},
    ButtonRow{kHdgButton, SimEvent::PanelHeadingSet, SimItem::HeadingLock},
    ButtonRow{kNavButton, SimEvent::Nav1Hold, std::nullopt},
    ButtonRow{kIasButton, SimEvent::PanelSpeedSet, SimItem::AirspeedHold},
    ButtonRow{kAltButton, SimEvent::PanelAltitudeSet, SimItem::AltitudeLock},
    ButtonRow{kVsButton, SimEvent::VsHold, std::nullopt},
    ButtonRow{kAprButton, SimEvent::AprHold, std::nullopt},
    ButtonRow{kRevButton, SimEvent::BcHold, std::nullopt},
};

// The flaps lever and the trim wheel: one event per step, with no step size.
struct StepRow {
  InputBit bit;
  SimEvent event;
};

constexpr std::array kSteps = {
    StepRow{kFlapsRetract, SimEvent::FlapsDecr},
    StepRow{kFlapsExtend, SimEvent::FlapsIncr},
    StepRow{kTrimNoseDown, SimEvent::ElevTrimDn},
    StepRow{kTrimNoseUp, SimEvent::ElevTrimUp},
};

constexpr DisplayReport kResetReport = MakeResetReport();

struct Pending {
  SimEvent event;
  std::uint32_t datum;
};

// The events one report sends, decided under the lock and sent after it.
class PendingEvents {
 public:
  void Add(SimEvent event, std::uint32_t datum) { m_items[m_count++] = {event, datum}; }
  std::span<const Pending> Items() const { return {m_items.data(), m_count}; }

 private:
  // Both encoder directions, every button, the auto-throttle switch and every step.
  static constexpr std::size_t kMostPerReport = 2 + kButtons.size() + 1 + kSteps.size();

  std::array<Pending, kMostPerReport> m_items{};
  std::size_t m_count = 0;
};

bool Rose(InputBit bit, InputBytes previous, InputBytes current) {
  return !bit.In(previous) && bit.In(current);
}

PendingEvents Decide(Selector position, const AutopilotData& record, InputBytes previous,
                     InputBytes current) {
  PendingEvents events;
  const EncoderRow& encoder = kEncoder[Index(position)];
  if (Rose(kEncoderIncrease, previous, current)) events.Add(encoder.increase, 0);
  if (Rose(kEncoderDecrease, previous, current)) events.Add(encoder.decrease, 0);
  for (const ButtonRow& button : kButtons) {
    if (!Rose(button.bit, previous, current)) continue;
    const bool engage = button.engagedBy && !record.IsSet(*button.engagedBy);
    events.Add(button.event, engage ? 1 : 0);
  }
  // The switch stays where it is put: it is brought into agreement, never toggled past it.
  const bool armed = kAutoThrottleArmed.In(current);
  if (armed != kAutoThrottleArmed.In(previous) && armed != record.IsSet(SimItem::ThrottleArm)) {
    events.Add(SimEvent::AutoThrottleArm, 0);
  }
  for (const StepRow& step : kSteps) {
    if (Rose(step.bit, previous, current)) events.Add(step.event, 0);
  }
  return events;
}

}  // namespace

CPanelClass_Autopilot::CPanelClass_Autopilot(CSimConnectLib* binding) : CPanelClass(binding) {}

// Reader threads call back into this object while they stop.
CPanelClass_Autopilot::~CPanelClass_Autopilot() {
  DetachAll();
}

bool CPanelClass_Autopilot::IsMyDevice(const std::wstring& path) {
  return IsModel(path, panels::kAutopilotPanel.vendorId, panels::kAutopilotPanel.productId);
}

CPanelClass::HResult CPanelClass_Autopilot::Initialize() {
  m_defineid = Sim().NextDefinitionId();
  for (std::uint32_t datum = 0; datum < kDataItems.size(); ++datum) {
    const DataItem& item = kDataItems[datum];
    const HResult result =
        Sim().AddToDataDefinition(m_defineid, item.variable, item.units, item.type, 0.0f, datum);
    if (result < 0) return result;
  }
  for (std::size_t entry = 0; entry < kEventNames.size(); ++entry) {
    m_events[entry] = MapEvent(kEventNames[entry]);
  }
  return Sim().SetNotificationGroupPriority(m_defineid, simconnect::kGroupPriorityHighest);
}

void CPanelClass_Autopilot::OnSimObjectData(std::uint32_t requestId,
                                            std::span<const std::uint8_t> data) {
  if (requestId != m_defineid) return;
  std::scoped_lock lock(m_lock);
  if (!m_record.Replace(data)) return;
  for (const auto& [path, device] : Devices()) RefreshDisplay(*device, false);
}

void CPanelClass_Autopilot::OnDeviceOpened(CPanelDevice& device) {
  std::array<std::uint8_t, kDisplayReportLength> state{};
  const Selector position = GetFeature(device, state)
                                ? DecodeSelector(state[kSelectorByte], Selector::Alt)
                                : Selector::Alt;
  std::scoped_lock lock(m_lock);
  device.SetValue(kSelectorKey, static_cast<std::int32_t>(position));
  RefreshDisplay(device, true);
}

void CPanelClass_Autopilot::OnDeviceStopping(CPanelDevice& device) {
  std::scoped_lock lock(m_lock);
  SetFeature(device, kResetReport);
}

void CPanelClass_Autopilot::OnInputReport(CPanelDevice& device, std::uint32_t,
                                          std::span<const std::uint8_t> previousReport,
                                          std::span<const std::uint8_t> currentReport) {
  if (previousReport.size() < kInputReportLength || currentReport.size() < kInputReportLength) {
    return;
  }
  const InputBytes previous = previousReport.first<kInputReportLength>();
  const InputBytes current = currentReport.first<kInputReportLength>();

  // A report the same as the one before it moves nothing and sends nothing: only a record
  // that came meanwhile can change the display.
  PendingEvents events;
  bool selectorMoved = false;
  if (!std::ranges::equal(previous, current)) {
    std::scoped_lock lock(m_lock);
    const Selector stored = StoredSelector(device);
    const auto risen = static_cast<std::uint8_t>(current[kSelectorByte] & ~previous[kSelectorByte]);
    const Selector position = DecodeSelector(risen, stored);
    selectorMoved = position != stored;
    if (selectorMoved) device.SetValue(kSelectorKey, static_cast<std::int32_t>(position));
    events = Decide(position, m_record, previous, current);
  }
  for (const Pending& pending : events.Items()) {
    SendEvent(m_events[static_cast<std::size_t>(pending.event)], pending.datum);
  }
  std::scoped_lock lock(m_lock);
  RefreshDisplay(device, selectorMoved);
}

// A unit whose key was never set, or set to no position, stands at ALT.
Selector CPanelClass_Autopilot::StoredSelector(const CPanelDevice& device) {
  const std::int32_t value = device.GetValue(kSelectorKey);
  return value >= 0 && value < static_cast<std::int32_t>(kSelectorPositions)
             ? static_cast<Selector>(value)
             : Selector::Alt;
}

void CPanelClass_Autopilot::RefreshDisplay(CPanelDevice& device, bool force) {
  auto guard = device.Guard();
  const Selector position = StoredSelector(device);
  const auto record = static_cast<std::int32_t>(m_record.Version());
  // The same position and record compose the display the filter already holds; a unit
  // never composed for reads 0, which numbers no record.
  if (!force && device.GetValue(kComposedRecordKey) == record &&
      device.GetValue(kComposedSelectorKey) == static_cast<std::int32_t>(position)) {
    return;
  }
  const DisplayReport report = ComposeDisplay(position, m_record);
  device.SetValue(kComposedRecordKey, record);
  device.SetValue(kComposedSelectorKey, static_cast<std::int32_t>(position));
  if (device.HasOutputChanged(report) || force) SetFeature(device, report);
}
