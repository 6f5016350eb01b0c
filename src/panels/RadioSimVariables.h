#pragma once

// What the radio panel asks of the simulator: the variables of its data record and the
// client events its rows send, by the radio a row's selector names.

#include <array>
#include <cstddef>
#include <cstdint>

#include "panels/RadioPanelReports.h"
#include "simlink/SimConnectApi.h"

namespace panels::radio_panel {

// A row's selector position, as kept in the unit's value table.
enum class Mode : std::int32_t { Com1, Com2, Nav1, Nav2, Adf, Dme, Xpdr };
inline constexpr std::size_t kModeCount = 7;
// The radios that tune with the encoders: COM1 to ADF.
inline constexpr std::size_t kTunableModes = 5;

// The record's items in datum order: the enumerator is the datum id and the item's place
// in the record, 32 bits each.
enum class SimItem : std::size_t {
  Com1Active,
  Com1Standby,
  Com2Active,
  Com2Standby,
  Nav1Active,
  Nav1Standby,
  Nav2Active,
  Nav2Standby,
  AdfActive,
  TransponderCode,
  DmeDistance,
  DmeSpeed,
};

struct DataItem {
  const char* variable;
  const char* units;
  simconnect::DataType type;
};

constexpr DataItem Frequency(const char* variable) {
  return {variable, "Frequency BCD16", simconnect::kDataTypeInt32};
}

inline constexpr std::array kDataItems = {
    Frequency("com active frequency:1"),
    Frequency("com standby frequency:1"),
    Frequency("com active frequency:2"),
    Frequency("com standby frequency:2"),
    Frequency("nav active frequency:1"),
    Frequency("nav standby frequency:1"),
    Frequency("nav active frequency:2"),
    Frequency("nav standby frequency:2"),
    DataItem{"adf active frequency:1", "Frequency ADF BCD32", simconnect::kDataTypeInt32},
    DataItem{"transponder code:1", "BCO16", simconnect::kDataTypeInt32},
    DataItem{"nav1 dme", "nmiles", simconnect::kDataTypeFloat32},
    DataItem{"nav1 dmespeed", "Knots", simconnect::kDataTypeFloat32},
};
static_assert(kDataItems.size() == static_cast<std::size_t>(SimItem::DmeSpeed) + 1);

// The events of each tunable radio by control, in mapping order. The ADF has no standby
// frequency, so its swap has no event.
using TuningEventNames = std::array<const char*, kControlCount>;
inline constexpr std::array<TuningEventNames, kTunableModes> kTuningEventNames = {{
    {"COM_RADIO_WHOLE_INC", "COM_RADIO_WHOLE_DEC", "COM_RADIO_FRACT_INC", "COM_RADIO_FRACT_DEC",
     "COM_STBY_RADIO_SWAP"},
    {"COM2_RADIO_WHOLE_INC", "COM2_RADIO_WHOLE_DEC", "COM2_RADIO_FRACT_INC", "COM2_RADIO_FRACT_DEC",
     "COM2_RADIO_SWAP"},
    {"NAV1_RADIO_WHOLE_INC", "NAV1_RADIO_WHOLE_DEC", "NAV1_RADIO_FRACT_INC", "NAV1_RADIO_FRACT_DEC",
     "NAV1_RADIO_SWAP"},
    {"NAV2_RADIO_WHOLE_INC", "NAV2_RADIO_WHOLE_DEC", "NAV2_RADIO_FRACT_INC", "NAV2_RADIO_FRACT_DEC",
     "NAV2_RADIO_SWAP"},
    {"ADF1_WHOLE_INC", "ADF1_WHOLE_DEC", "ADF1_RADIO_TENTHS_INC", "ADF1_RADIO_TENTHS_DEC", nullptr},
}};

// The transponder's digit steps in mapping order; the enumerator is the entry's place.
enum class TransponderStep : std::size_t {
  ThousandsUp,
  ThousandsDown,
  HundredsUp,
  HundredsDown,
  TensUp,
  TensDown,
  UnitsUp,
  UnitsDown,
};

inline constexpr std::array kTransponderEventNames = {
    "XPNDR_1000_INC", "XPNDR_1000_DEC", "XPNDR_100_INC", "XPNDR_100_DEC",
    "XPNDR_10_INC",   "XPNDR_10_DEC",   "XPNDR_1_INC",   "XPNDR_1_DEC",
};
static_assert(kTransponderEventNames.size() ==
              static_cast<std::size_t>(TransponderStep::UnitsDown) + 1);

}  // namespace panels::radio_panel
