#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "RadioRig.h"

using namespace radio_input;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Report = RadioRig::Report;

constexpr Report WithBytes(Report report, std::uint8_t buttons, std::uint8_t encoders) {
  report[2] = static_cast<std::uint8_t>(report[2] | buttons);
  report[3] = static_cast<std::uint8_t>(report[3] | encoders);
  return report;
}

// --- Selector decoding ------------------------------------------------------------------------

TEST(RadioSelectors, EachPositionNamesItsModeOnEitherRow) {
  for (int mode = kCom1; mode <= kXpdr; ++mode) {
    const Report report = Selectors(mode, mode);
    EXPECT_EQ(CPanelClass_Radios::DecodeUpperMode(report[1], kDme), mode);
    EXPECT_EQ(CPanelClass_Radios::DecodeLowerMode(report[1], report[2], kDme), mode);
  }
}

struct NewBits {
  const char* label;
  std::uint8_t byte1;
  std::uint8_t byte2;
  int upper;
  int lower;
};

// Rows keep NAV2 unless the bits name a single position of their own.
constexpr int kKept = kNav2;

TEST(RadioSelectors, BitsThatNameNoSinglePositionKeepTheMode) {
  for (const NewBits& bits : {
           NewBits{"nothing new", 0x00, 0x00, kKept, kKept},
           NewBits{"two upper positions", 0x03, 0x00, kKept, kKept},
           NewBits{"lower COM1 beside an upper position", 0x81, 0x00, kCom1, kCom1},
           NewBits{"two lower positions", 0x00, 0x06, kKept, kKept},
           NewBits{"swap buttons alone", 0x00, 0xC0, kKept, kKept},
           NewBits{"lower swap alone", 0x00, 0x80, kKept, kKept},
           NewBits{"lower XPDR as its own swap is pressed", 0x00, 0x20 | 0x80, kKept, kKept},
           NewBits{"lower ADF as the upper swap is pressed", 0x00, 0x08 | 0x40, kKept, kKept},
           NewBits{"lower COM1 as its swap is pressed", 0x80, 0x80, kKept, kCom1},
       }) {
    EXPECT_EQ(CPanelClass_Radios::DecodeUpperMode(bits.byte1, kKept), bits.upper) << bits.label;
    EXPECT_EQ(CPanelClass_Radios::DecodeLowerMode(bits.byte1, bits.byte2, kKept), bits.lower)
        << bits.label;
  }
}

// --- Tuning -----------------------------------------------------------------------------------

struct RowInputs {
  const char* label;
  bool upper;
  std::uint8_t swap;
  std::uint8_t encoders;  // all four directions at once
};

constexpr std::array kRows = {
    RowInputs{"upper", true, kUpperSwap,
              kUpperFineUp | kUpperFineDown | kUpperCoarseUp | kUpperCoarseDown},
    RowInputs{"lower", false, kLowerSwap,
              kLowerFineUp | kLowerFineDown | kLowerCoarseUp | kLowerCoarseDown},
};

struct RadioEvents {
  int mode;
  // Swap first, then coarse up, coarse down, fine up, fine down.
  std::vector<const char*> events;
};

TEST(RadioTuning, EveryControlOfARowSendsOneEventOfTheRadioItsSelectorNames) {
  const std::array radios = {
      RadioEvents{kCom1,
                  {"COM_STBY_RADIO_SWAP", "COM_RADIO_WHOLE_INC", "COM_RADIO_WHOLE_DEC",
                   "COM_RADIO_FRACT_INC", "COM_RADIO_FRACT_DEC"}},
      RadioEvents{kCom2,
                  {"COM2_RADIO_SWAP", "COM2_RADIO_WHOLE_INC", "COM2_RADIO_WHOLE_DEC",
                   "COM2_RADIO_FRACT_INC", "COM2_RADIO_FRACT_DEC"}},
      RadioEvents{kNav1,
                  {"NAV1_RADIO_SWAP", "NAV1_RADIO_WHOLE_INC", "NAV1_RADIO_WHOLE_DEC",
                   "NAV1_RADIO_FRACT_INC", "NAV1_RADIO_FRACT_DEC"}},
      RadioEvents{kNav2,
                  {"NAV2_RADIO_SWAP", "NAV2_RADIO_WHOLE_INC", "NAV2_RADIO_WHOLE_DEC",
                   "NAV2_RADIO_FRACT_INC", "NAV2_RADIO_FRACT_DEC"}},
      // The ADF has no standby frequency to swap with.
      RadioEvents{
          kAdf,
          {"ADF1_WHOLE_INC", "ADF1_WHOLE_DEC", "ADF1_RADIO_TENTHS_INC", "ADF1_RADIO_TENTHS_DEC"}},
      RadioEvents{kDme, {}},
  };
  RadioRig rig;
  for (const RowInputs& row : kRows) {
    for (const RadioEvents& radio : radios) {
      SCOPED_TRACE(std::string(row.label) + " row, mode " + std::to_string(radio.mode));
      // The other row stays on COM1: its own controls are untouched.
      const Report selectors =
          row.upper ? Selectors(radio.mode, kCom1) : Selectors(kCom1, radio.mode);
      rig.Move(selectors);
      rig.Events();
      rig.Move(WithBytes(selectors, row.swap, row.encoders));
      std::vector<Sent> expected;
      for (const char* event : radio.events) expected.push_back({event, 0});
      EXPECT_EQ(rig.Events(), expected);
    }
  }
}

TEST(RadioTuning, AnEncoderBitSendsOnlyAsItRises) {
  RadioRig rig;
  const Report com1 = Selectors(kCom1, kCom1);
  rig.Move(com1);
  const Report stepUp = WithBytes(com1, 0, kUpperFineUp);
  rig.Move(stepUp);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"COM_RADIO_FRACT_INC", 0}));
  rig.Move(stepUp);
  EXPECT_THAT(rig.Events(), IsEmpty()) << "the bit stayed set";
  rig.Move(com1);
  EXPECT_THAT(rig.Events(), IsEmpty()) << "the bit fell";
  rig.Move(stepUp);
  EXPECT_THAT(rig.Events(), ElementsAre(Sent{"COM_RADIO_FRACT_INC", 0}));
}

TEST(RadioTuning, ControlsMovedWithTheSelectorActOnTheNewRadio) {
  RadioRig rig;
  rig.Move(Selectors(kCom1, kCom1));
  rig.Move(WithBytes(Selectors(kNav1, kCom2), 0, kUpperFineUp | kLowerCoarseDown));
  EXPECT_THAT(rig.Events(),
              ElementsAre(Sent{"NAV1_RADIO_FRACT_INC", 0}, Sent{"COM2_RADIO_WHOLE_DEC", 0}));
}

// The lower swap shares byte 2 with the lower selector: pressed as the selector moves, it
// hides the move, and the swap and encoders act on the radio the row showed before.
TEST(RadioTuning, LowerSwapPressedAsTheSelectorMovesActsOnTheOldRadio) {
  struct OldMode {
    int mode;
    std::vector<Sent> events;
  };
  for (const OldMode& old : {
           OldMode{kCom1, {{"COM_STBY_RADIO_SWAP", 0}, {"COM_RADIO_FRACT_INC", 0}}},
           OldMode{kCom2, {{"COM2_RADIO_SWAP", 0}, {"COM2_RADIO_FRACT_INC", 0}}},
           OldMode{kNav1, {{"NAV1_RADIO_SWAP", 0}, {"NAV1_RADIO_FRACT_INC", 0}}},
           OldMode{kNav2, {{"NAV2_RADIO_SWAP", 0}, {"NAV2_RADIO_FRACT_INC", 0}}},
           // The ADF's swap is never mapped.
           OldMode{kAdf, {{"ADF1_RADIO_TENTHS_INC", 0}}},
       }) {
    SCOPED_TRACE("old mode " + std::to_string(old.mode));
    RadioRig rig;
    rig.Move(Selectors(kCom1, old.mode));
    rig.Events();
    rig.Move(WithBytes(Selectors(kCom1, kXpdr), kLowerSwap, kLowerFineUp));
    EXPECT_EQ(rig.Events(), old.events);
  }
}

TEST(RadioTuning, ReportsShorterThanTheLayoutAreNotRead) {
  RadioRig rig;
  const std::array<std::uint8_t, 3> shortBuffer{0x00, 0xFF, 0xFF};
  const Report full{0x00, 0xFF, 0xFF, 0xFF};
  rig.panel.OnInputReport(rig.unit, 4, shortBuffer, full);
  rig.panel.OnInputReport(rig.unit, 4, full, shortBuffer);
  EXPECT_THAT(rig.Events(), IsEmpty());
}

// --- Transponder ------------------------------------------------------------------------------

TEST(RadioTransponder, EachRowsSwapChangesItsOwnDigitPair) {
  RadioRig rig;
  const Report xpdr = Selectors(kXpdr, kXpdr);
  rig.Move(xpdr);
  const auto press = [&](std::uint8_t buttons, std::uint8_t encoders) {
    rig.Move(WithBytes(xpdr, buttons, encoders));
    rig.Move(xpdr);
    return rig.Events();
  };

  EXPECT_THAT(press(0, kLowerCoarseUp), ElementsAre(Sent{"XPNDR_10_INC", 0}));
  EXPECT_THAT(press(kLowerSwap, 0), IsEmpty()) << "the swap only changes the pair";
  EXPECT_THAT(press(0, kLowerCoarseUp), ElementsAre(Sent{"XPNDR_1000_INC", 0}));
  EXPECT_THAT(press(0, kLowerFineDown | kLowerCoarseDown),
              ElementsAre(Sent{"XPNDR_100_DEC", 0}, Sent{"XPNDR_1000_DEC", 0}));
  EXPECT_THAT(press(0, kUpperCoarseUp | kUpperFineUp),
              ElementsAre(Sent{"XPNDR_1_INC", 0}, Sent{"XPNDR_10_INC", 0}))
      << "the upper row keeps tens and units";
  EXPECT_THAT(press(kLowerSwap, kLowerFineUp), ElementsAre(Sent{"XPNDR_100_INC", 0}))
      << "encoders act on the pair the swap leaves";
  EXPECT_THAT(press(0, kLowerCoarseUp), ElementsAre(Sent{"XPNDR_10_INC", 0}));
}

// --- Registration -----------------------------------------------------------------------------

// A radio panel initialised against a simulator that refuses one call.
class RadioRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    simstub::Reset();
    ASSERT_EQ(sim.Open("refusing simulator", nullptr, 0, nullptr, 0), 0);
  }
  platform::HResult InitializeRefusing(const char* entryPoint, unsigned nth) {
    EXPECT_TRUE(simstub::FailCall(entryPoint, platform::kEFail, nth));
    return panel.Initialize();
  }
  void Press(const Report& report) { panel.OnInputReport(unit, 4, Report{}, report); }

  CSimConnectLib sim;
  CPanelClass_Radios panel{&sim};
  CPanelDevice unit;
};

TEST_F(RadioRegistration, FailedDataDefinitionLeavesEveryControlSilent) {
  EXPECT_EQ(InitializeRefusing("SimConnect_AddToDataDefinition", 12), platform::kEFail);
  Press(WithBytes(Selectors(kCom1, kXpdr), 0xC0, 0xFF));
  EXPECT_THAT(simstub::CallLog(), ::testing::Not(::testing::Contains(::testing::StartsWith(
                                      "SimConnect_MapClientEventToSimEvent"))));
  EXPECT_THAT(TransmittedSince(0), IsEmpty());
}

TEST_F(RadioRegistration, FailedMappingSilencesOnlyThatEvent) {
  // The third event mapped is COM1's fine step up.
  EXPECT_EQ(InitializeRefusing("SimConnect_MapClientEventToSimEvent", 3), 0);
  Press(WithBytes(Selectors(kCom1, kCom1), 0, kUpperFineUp | kUpperFineDown));
  EXPECT_THAT(TransmittedSince(0), ElementsAre(Sent{"COM_RADIO_FRACT_DEC", 0}));
}

}  // namespace
