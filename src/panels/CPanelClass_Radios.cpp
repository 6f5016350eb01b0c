#include "panels/CPanelClass_Radios.h"

#include <algorithm>
#include <bit>

#include "device/CPanelDevice.h"
#include "panels/PanelModels.h"
#include "panels/RadioWindows.h"
#include "simlink/CSimConnectLib.h"

using namespace panels::radio_panel;

namespace {

// The unit's value table: each row's mode and its transponder digit pair, then what the
// display last written to the filter was composed from.
constexpr std::int32_t kUpperModeKey = 0;
constexpr std::int32_t kLowerModeKey = 1;
constexpr std::int32_t kUpperDigitPairKey = 2;
constexpr std::int32_t kLowerDigitPairKey = 3;
constexpr std::int32_t kComposedUpperModeKey = 4;
constexpr std::int32_t kComposedLowerModeKey = 5;
constexpr std::int32_t kComposedRecordKey = 6;

constexpr std::int32_t ModeValue(Mode mode) {
  return static_cast<std::int32_t>(mode);
}

// A row that shows no single selector bit when the unit is attached starts here.
constexpr std::int32_t kModeAtAttach = ModeValue(Mode::Com2);

// The transponder's four digits are set in pairs with the same encoders: a row's swap
// button changes between the pairs.
constexpr std::int32_t kThousandsAndHundreds = 1;
constexpr std::int32_t kTensAndUnits = 0;

struct TransponderRow {
  Control control;
  TransponderStep whenThousandsAndHundreds;
  TransponderStep whenTensAndUnits;
};

// In the order the encoders are looked at; the fine encoder sets the lower digit of the
// pair, the coarse one the upper.
constexpr std::array kTransponderRows = {
    TransponderRow{Control::FineIncrement, TransponderStep::HundredsUp, TransponderStep::UnitsUp},
    TransponderRow{Control::FineDecrement, TransponderStep::HundredsDown,
                   TransponderStep::UnitsDown},
    TransponderRow{Control::CoarseIncrement, TransponderStep::ThousandsUp, TransponderStep::TensUp},
    TransponderRow{Control::CoarseDecrement, TransponderStep::ThousandsDown,
                   TransponderStep::TensDown},
};

// The order in which one report's controls send their events in a tuning mode.
constexpr std::array kTuningOrder = {Control::Swap, Control::CoarseIncrement,
                                     Control::CoarseDecrement, Control::FineIncrement,
                                     Control::FineDecrement};

constexpr std::size_t Index(Control control) {
  return static_cast<std::size_t>(control);
}

// The single position a selector's bits name, counted from `first`; none for no bit or
// several.
std::int32_t SinglePosition(std::uint8_t bits, std::int32_t first, std::int32_t kept) {
  return std::has_single_bit(bits) ? first + std::countr_zero(bits) : kept;
}

}  // namespace

// One row: its mode, where its digit pair lives in the unit's value table, and its controls.
struct CPanelClass_Radios::Row {
  std::int32_t mode;
  std::int32_t digitPairKey;
  const RowControls& controls;
};

CPanelClass_Radios::CPanelClass_Radios(CSimConnectLib* binding) : CPanelClass(binding) {}

// Reader threads call back into this object while they stop.
CPanelClass_Radios::~CPanelClass_Radios() {
  DetachAll();
}

bool CPanelClass_Radios::IsMyDevice(const std::wstring& path) {
  return IsModel(path, panels::kRadioPanel.vendorId, panels::kRadioPanel.productId);
}

CPanelClass::HResult CPanelClass_Radios::Initialize() {
  m_defineid = Sim().NextDefinitionId();
  for (std::uint32_t datum = 0; datum < kDataItems.size(); ++datum) {
    const DataItem& item = kDataItems[datum];
    const HResult result =
        Sim().AddToDataDefinition(m_defineid, item.variable, item.units, item.type, 0.0f, datum);
    if (result < 0) return result;
  }
  for (std::size_t mode = 0; mode < kTunableModes; ++mode) {
    for (std::size_t control = 0; control < kControlCount; ++control) {
      const char* name = kTuningEventNames[mode][control];
      if (name) m_tuningEvents[control][mode] = MapEvent(name);
    }
  }
  for (std::size_t step = 0; step < kTransponderEventNames.size(); ++step) {
    m_transponderEvents[step] = MapEvent(kTransponderEventNames[step]);
  }
  return Sim().SetNotificationGroupPriority(m_defineid, simconnect::kGroupPriorityHighest);
}

void CPanelClass_Radios::OnSimObjectData(std::uint32_t requestId,
                                         std::span<const std::uint8_t> data) {
  if (requestId != m_defineid) return;
  if (!m_radioData.Replace(data)) return;
  for (const auto& [path, device] : Devices()) RefreshDisplay(*device, false);
}

void CPanelClass_Radios::OnDeviceOpened(CPanelDevice& device) {
  // The unit answers with its selectors in bytes 1 and 2, laid out as in its input report;
  // a failed read leaves them zero.
  DisplayReport state{};
  GetFeature(device, state);
  device.SetValue(kUpperModeKey, DecodeUpperMode(state[1], kModeAtAttach));
  device.SetValue(kLowerModeKey, DecodeLowerMode(state[1], state[2], kModeAtAttach));
  RefreshDisplay(device, true);
}

void CPanelClass_Radios::OnDeviceStopping(CPanelDevice& device) {
  SetFeature(device, kBlankReport);
}

void CPanelClass_Radios::OnInputReport(CPanelDevice& device, std::uint32_t,
                                       std::span<const std::uint8_t> previous,
                                       std::span<const std::uint8_t> current) {
  if (previous.size() < kInputReportLength || current.size() < kInputReportLength) return;
  InputBytes rising{};
  for (std::size_t i = 1; i < kInputReportLength; ++i) {
    rising[i] = static_cast<std::uint8_t>(current[i] & ~previous[i]);
  }

  // Nothing newly pressed moves no selector and sends nothing: only a record that came
  // meanwhile can change the display.
  if (std::ranges::all_of(rising, [](std::uint8_t bits) { return bits == 0; })) {
    RefreshDisplay(device, false);
    return;
  }

  std::int32_t upperMode = 0;
  std::int32_t lowerMode = 0;
  bool selectorMoved = false;
  {
    auto guard = device.Guard();
    const std::int32_t upperBefore = device.GetValue(kUpperModeKey);
    const std::int32_t lowerBefore = device.GetValue(kLowerModeKey);
    upperMode = DecodeUpperMode(rising[1], upperBefore);
    lowerMode = DecodeLowerMode(rising[1], rising[2], lowerBefore);
    if (upperMode != upperBefore) device.SetValue(kUpperModeKey, upperMode);
    if (lowerMode != lowerBefore) device.SetValue(kLowerModeKey, lowerMode);
    selectorMoved = upperMode != upperBefore || lowerMode != lowerBefore;
  }

  // Encoders turned as the selector moved act on the new radio.
  ActOnRow(device, {upperMode, kUpperDigitPairKey, kUpperControls}, rising);
  ActOnRow(device, {lowerMode, kLowerDigitPairKey, kLowerControls}, rising);
  RefreshDisplay(device, selectorMoved);
}

void CPanelClass_Radios::ActOnRow(CPanelDevice& device, const Row& row, const InputBytes& rising) {
  const auto pressed = [&](Control control) { return row.controls[Index(control)].In(rising); };
  const std::int32_t mode = row.mode;
  if (mode >= 0 && static_cast<std::size_t>(mode) < kTunableModes) {
    for (const Control control : kTuningOrder) {
      if (pressed(control)) SendEvent(m_tuningEvents[Index(control)][mode], 0);
    }
  } else if (mode == ModeValue(Mode::Xpdr)) {
    const bool upperPair = device.GetValue(row.digitPairKey) == kThousandsAndHundreds;
    for (const TransponderRow& step : kTransponderRows) {
      if (!pressed(step.control)) continue;
      const TransponderStep event =
          upperPair ? step.whenThousandsAndHundreds : step.whenTensAndUnits;
      SendEvent(m_transponderEvents[static_cast<std::size_t>(event)], 0);
    }
    if (pressed(Control::Swap)) {
      device.SetValue(row.digitPairKey, upperPair ? kTensAndUnits : kThousandsAndHundreds);
    }
  }
}

void CPanelClass_Radios::RefreshDisplay(CPanelDevice& device, bool force) {
  // The unit's guard spans reading the modes and the record, the filter and the write, so
  // the last display written is composed from the latest state.
  auto guard = device.Guard();
  const std::int32_t upperMode = device.GetValue(kUpperModeKey);
  const std::int32_t lowerMode = device.GetValue(kLowerModeKey);
  // A unit never composed for reads 0, which numbers no record.
  const auto record = static_cast<std::int32_t>(m_radioData.Version());
  // The same modes and record compose the display the filter already holds.
  if (!force && device.GetValue(kComposedRecordKey) == record &&
      device.GetValue(kComposedUpperModeKey) == upperMode &&
      device.GetValue(kComposedLowerModeKey) == lowerMode) {
    return;
  }
  const DisplayReport report = ComposeDisplay(upperMode, lowerMode, m_radioData.Snapshot());
  device.SetValue(kComposedRecordKey, record);
  device.SetValue(kComposedUpperModeKey, upperMode);
  device.SetValue(kComposedLowerModeKey, lowerMode);
  if (device.HasOutputChanged(report) || force) SetFeature(device, report);
}

std::int32_t CPanelClass_Radios::DecodeUpperMode(std::uint8_t byte1Bits, std::int32_t kept) {
  return SinglePosition(static_cast<std::uint8_t>(byte1Bits & kUpperSelectorBits),
                        ModeValue(Mode::Com1), kept);
}

std::int32_t CPanelClass_Radios::DecodeLowerMode(std::uint8_t byte1Bits, std::uint8_t byte2Bits,
                                                 std::int32_t kept) {
  if (byte1Bits & kLowerSelectorFirstBit) return ModeValue(Mode::Com1);
  if (byte2Bits & ~kLowerSelectorRestBits) return kept;
  return SinglePosition(byte2Bits, ModeValue(Mode::Com2), kept);
}
