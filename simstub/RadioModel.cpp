#include "simstub/RadioModel.h"

#include <array>
#include <cstdint>

#include "simstub/Aircraft.h"
#include "simstub/Names.h"

namespace simstub {
namespace {

using Bits = std::uint32_t;

// The remainder that stays within 0 to `count` - 1 whatever the sign: steps wrap round.
int Wrap(int value, int count) {
  const int remainder = value % count;
  return remainder < 0 ? remainder + count : remainder;
}

int Nibble(Bits value, int place) {
  return static_cast<int>((value >> (4 * place)) & 0xF);
}

Bits WithNibble(Bits value, int place, int digit) {
  const Bits mask = Bits{0xF} << (4 * place);
  return (value & ~mask) | (static_cast<Bits>(digit) << (4 * place));
}

// Digits `count` nibbles wide starting at nibble `low`, read and written in BCD.
int Decimal(Bits value, int low, int count) {
  int number = 0;
  for (int place = low + count - 1; place >= low; --place) {
    number = number * 10 + Nibble(value, place);
  }
  return number;
}

Bits WithDecimal(Bits value, int low, int count, int number) {
  for (int place = low; place < low + count; ++place) {
    value = WithNibble(value, place, number % 10);
    number /= 10;
  }
  return value;
}

// A band of whole MHz and its channel spacing. A BCD16 frequency leaves out the leading
// 1 and keeps hundredths of MHz, so a 25 kHz channel such as 118.025 shows as 118.02.
struct Band {
  int lowMhz;
  int highMhz;
  int channelKhz;
};

constexpr Band kComBand{118, 136, 25};
constexpr Band kNavBand{108, 117, 50};
constexpr int kLeftOutHundred = 100;

Bits WholeStep(const Band& band, Bits bcd16, int delta) {
  const int mhz = kLeftOutHundred + Decimal(bcd16, 2, 2);
  const int stepped = band.lowMhz + Wrap(mhz - band.lowMhz + delta, band.highMhz - band.lowMhz + 1);
  return WithDecimal(bcd16, 2, 2, stepped - kLeftOutHundred);
}

// The fraction wraps within its MHz, as a radio's inner knob does.
Bits FractionStep(const Band& band, Bits bcd16, int delta) {
  const int hundredths = Decimal(bcd16, 0, 2);
  // On a 25 kHz band, .x2 and .x7 stand for .x25 and .x75.
  const bool leftOutFive = band.channelKhz % 10 != 0 && hundredths % 5 == 2;
  const int khz = hundredths * 10 + (leftOutFive ? 5 : 0);
  const int stepped = Wrap(khz + delta * band.channelKhz, 1000);
  return WithDecimal(bcd16, 0, 2, stepped / 10);
}

// The ADF: kHz in nibbles 7 to 4, tenths in nibble 3.
constexpr int kAdfLowKhz = 190;
constexpr int kAdfHighKhz = 1799;

Bits AdfWholeStep(Bits bcd32, int delta) {
  const int khz = Decimal(bcd32, 4, 4);
  const int stepped = kAdfLowKhz + Wrap(khz - kAdfLowKhz + delta, kAdfHighKhz - kAdfLowKhz + 1);
  return WithDecimal(bcd32, 4, 4, stepped);
}

Bits AdfTenthsStep(Bits bcd32, int delta) {
  return WithNibble(bcd32, 3, Wrap(Nibble(bcd32, 3) + delta, 10));
}

// A transponder digit steps on its own in octal: 7 goes round to 0 without a carry.
template <int place>
Bits TransponderStep(Bits bco16, int delta) {
  return WithNibble(bco16, place, Wrap(Nibble(bco16, place) + delta, 8));
}

Bits ComWholeStep(Bits bcd16, int delta) {
  return WholeStep(kComBand, bcd16, delta);
}
Bits ComFractionStep(Bits bcd16, int delta) {
  return FractionStep(kComBand, bcd16, delta);
}
Bits NavWholeStep(Bits bcd16, int delta) {
  return WholeStep(kNavBand, bcd16, delta);
}
Bits NavFractionStep(Bits bcd16, int delta) {
  return FractionStep(kNavBand, bcd16, delta);
}

struct TuningEvent {
  std::string_view event;
  std::string_view variable;
  Bits (*step)(Bits value, int delta);
  int delta;
};

constexpr std::string_view kCom1Standby = "COM STANDBY FREQUENCY:1";
constexpr std::string_view kCom2Standby = "COM STANDBY FREQUENCY:2";
constexpr std::string_view kNav1Standby = "NAV STANDBY FREQUENCY:1";
constexpr std::string_view kNav2Standby = "NAV STANDBY FREQUENCY:2";
constexpr std::string_view kAdf = "ADF ACTIVE FREQUENCY:1";
constexpr std::string_view kTransponder = "TRANSPONDER CODE:1";

constexpr std::array kTuningEvents = {
    TuningEvent{"COM_RADIO_WHOLE_INC", kCom1Standby, ComWholeStep, +1},
    TuningEvent{"COM_RADIO_WHOLE_DEC", kCom1Standby, ComWholeStep, -1},
    TuningEvent{"COM_RADIO_FRACT_INC", kCom1Standby, ComFractionStep, +1},
    TuningEvent{"COM_RADIO_FRACT_DEC", kCom1Standby, ComFractionStep, -1},
    TuningEvent{"COM2_RADIO_WHOLE_INC", kCom2Standby, ComWholeStep, +1},
    TuningEvent{"COM2_RADIO_WHOLE_DEC", kCom2Standby, ComWholeStep, -1},
    TuningEvent{"COM2_RADIO_FRACT_INC", kCom2Standby, ComFractionStep, +1},
    TuningEvent{"COM2_RADIO_FRACT_DEC", kCom2Standby, ComFractionStep, -1},
    TuningEvent{"NAV1_RADIO_WHOLE_INC", kNav1Standby, NavWholeStep, +1},
    TuningEvent{"NAV1_RADIO_WHOLE_DEC", kNav1Standby, NavWholeStep, -1},
    TuningEvent{"NAV1_RADIO_FRACT_INC", kNav1Standby, NavFractionStep, +1},
    TuningEvent{"NAV1_RADIO_FRACT_DEC", kNav1Standby, NavFractionStep, -1},
    TuningEvent{"NAV2_RADIO_WHOLE_INC", kNav2Standby, NavWholeStep, +1},
    TuningEvent{"NAV2_RADIO_WHOLE_DEC", kNav2Standby, NavWholeStep, -1},
    TuningEvent{"NAV2_RADIO_FRACT_INC", kNav2Standby, NavFractionStep, +1},
    TuningEvent{"NAV2_RADIO_FRACT_DEC", kNav2Standby, NavFractionStep, -1},
    TuningEvent{"ADF1_WHOLE_INC", kAdf, AdfWholeStep, +1},
    TuningEvent{"ADF1_WHOLE_DEC", kAdf, AdfWholeStep, -1},
    TuningEvent{"ADF1_RADIO_TENTHS_INC", kAdf, AdfTenthsStep, +1},
    TuningEvent{"ADF1_RADIO_TENTHS_DEC", kAdf, AdfTenthsStep, -1},
    TuningEvent{"XPNDR_1000_INC", kTransponder, TransponderStep<3>, +1},
    TuningEvent{"XPNDR_1000_DEC", kTransponder, TransponderStep<3>, -1},
    TuningEvent{"XPNDR_100_INC", kTransponder, TransponderStep<2>, +1},
    TuningEvent{"XPNDR_100_DEC", kTransponder, TransponderStep<2>, -1},
    TuningEvent{"XPNDR_10_INC", kTransponder, TransponderStep<1>, +1},
    TuningEvent{"XPNDR_10_DEC", kTransponder, TransponderStep<1>, -1},
    TuningEvent{"XPNDR_1_INC", kTransponder, TransponderStep<0>, +1},
    TuningEvent{"XPNDR_1_DEC", kTransponder, TransponderStep<0>, -1},
};

struct SwapEvent {
  std::string_view event;
  std::string_view active;
  std::string_view standby;
};

constexpr std::array kSwapEvents = {
    SwapEvent{"COM_STBY_RADIO_SWAP", "COM ACTIVE FREQUENCY:1", kCom1Standby},
    SwapEvent{"COM2_RADIO_SWAP", "COM ACTIVE FREQUENCY:2", kCom2Standby},
    SwapEvent{"NAV1_RADIO_SWAP", "NAV ACTIVE FREQUENCY:1", kNav1Standby},
    SwapEvent{"NAV2_RADIO_SWAP", "NAV ACTIVE FREQUENCY:2", kNav2Standby},
};

struct Preset {
  std::string_view variable;
  Bits value;
};

constexpr std::array kStartingRadios = {
    Preset{"COM ACTIVE FREQUENCY:1", 0x2280},
    Preset{kCom1Standby, 0x1800},
    Preset{"COM ACTIVE FREQUENCY:2", 0x2435},
    Preset{kCom2Standby, 0x2150},
    Preset{"NAV ACTIVE FREQUENCY:1", 0x1050},
    Preset{kNav1Standby, 0x1390},
    Preset{"NAV ACTIVE FREQUENCY:2", 0x1410},
    Preset{kNav2Standby, 0x0930},
    Preset{kAdf, 0x03445000},
    Preset{kTransponder, 0x1200},
};

// A value that is no 32-bit pattern (set from outside, say) reads as 0.
Bits Read(const Aircraft& aircraft, std::string_view variable) {
  const double value = aircraft.Get(variable);
  return value >= 0 && value <= 0xFFFFFFFF ? static_cast<Bits>(value) : 0;
}

}  // namespace

void TuneRadiosForStart(Aircraft& aircraft) {
  for (const Preset& preset : kStartingRadios) aircraft.Set(preset.variable, preset.value);
}

void ApplyRadioEvent(Aircraft& aircraft, std::string_view event) {
  for (const TuningEvent& row : kTuningEvents) {
    if (SameName(row.event, event)) {
      aircraft.Set(row.variable, row.step(Read(aircraft, row.variable), row.delta));
    }
  }
  for (const SwapEvent& row : kSwapEvents) {
    if (!SameName(row.event, event)) continue;
    const double active = aircraft.Get(row.active);
    aircraft.Set(row.active, aircraft.Get(row.standby));
    aircraft.Set(row.standby, active);
  }
}

}  // namespace simstub
