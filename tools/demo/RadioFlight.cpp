#include "tools/demo/RadioFlight.h"

#include <string>
#include <vector>

#include "panels/PanelModels.h"
#include "panels/RadioPanelReports.h"
#include "platform/posix/virtual_hid_bus.h"
#include "simstub/SimStub.h"
#include "tools/demo/RadioPanelText.h"

namespace demo {

using namespace panels::radio_panel;

namespace {

const std::wstring kPanelPath = L"\\\\?\\hid#vid_1c7a&pid_0b22#demo-radio-panel";

enum SelectorPosition { kCom1, kCom2, kNav1, kNav2, kAdf, kDme, kXpdr };

constexpr InputBit UpperSelector(int mode) {
  return {1, static_cast<std::uint8_t>(1u << mode)};
}
constexpr InputBit LowerSelector(int mode) {
  return mode == kCom1 ? InputBit{1, kLowerSelectorFirstBit}
                       : InputBit{2, static_cast<std::uint8_t>(1u << (mode - 1))};
}
constexpr InputBit Upper(Control control) {
  return kUpperControls[static_cast<std::size_t>(control)];
}
constexpr InputBit Lower(Control control) {
  return kLowerControls[static_cast<std::size_t>(control)];
}

// The selectors where they stand, and the controls pressed or stepped with them.
InputBytes Panel(int upperMode, int lowerMode, const std::vector<InputBit>& controls = {}) {
  InputBytes report{};
  for (const InputBit bit : {UpperSelector(upperMode), LowerSelector(lowerMode)}) {
    report[bit.byte] |= bit.mask;
  }
  for (const InputBit bit : controls) report[bit.byte] |= bit.mask;
  return report;
}

// One movement of the panel, the client events it must send, and both rows' windows once
// the simulator's next record has come.
struct Step {
  std::string title;
  int upperMode;
  int lowerMode;
  std::vector<InputBit> controls;
  std::vector<Event> events;
  std::string upperRow;
  std::string lowerRow;
};

// The stand-in's radios start at COM1 122.80 / 118.00, NAV1 110.50 / 113.90, ADF 344.5 and
// the transponder at 1200; the DME is set to 12.3 nm at 118 kn before the panel arrives.
std::vector<Step> Script() {
  using enum Control;
  return {
      {"Upper fine encoder one step up: COM1 standby to 118.025",
       kCom1,
       kNav1,
       {Upper(FineIncrement)},
       {{"COM_RADIO_FRACT_INC", 0}},
       "122.80  118.02",
       "110.50  113.90"},
      {"Upper coarse encoder one step up",
       kCom1,
       kNav1,
       {Upper(CoarseIncrement)},
       {{"COM_RADIO_WHOLE_INC", 0}},
       "122.80  119.02",
       "110.50  113.90"},
      {"Upper swap: COM1 standby becomes active",
       kCom1,
       kNav1,
       {Upper(Swap)},
       {{"COM_STBY_RADIO_SWAP", 0}},
       "119.02  122.80",
       "110.50  113.90"},
      {"Lower fine encoder one step down",
       kCom1,
       kNav1,
       {Lower(FineDecrement)},
       {{"NAV1_RADIO_FRACT_DEC", 0}},
       "119.02  122.80",
       "110.50  113.85"},
      {"Lower swap",
       kCom1,
       kNav1,
       {Lower(Swap)},
       {{"NAV1_RADIO_SWAP", 0}},
       "119.02  122.80",
       "113.85  110.50"},
      {"Lower selector to ADF, the coarse encoder a step down as it turns",
       kCom1,
       kAdf,
       {Lower(CoarseDecrement)},
       {{"ADF1_WHOLE_DEC", 0}},
       "119.02  122.80",
       "       0343.5"},
      {"Lower fine encoder one step up: tenths",
       kCom1,
       kAdf,
       {Lower(FineIncrement)},
       {{"ADF1_RADIO_TENTHS_INC", 0}},
       "119.02  122.80",
       "       0343.6"},
      {"Lower selector to DME: distance and speed",
       kCom1,
       kDme,
       {},
       {},
       "119.02  122.80",
       " 012.3   118.0"},
      {"Upper selector to XPDR", kXpdr, kDme, {}, {}, "        1200", " 012.3   118.0"},
      {"Upper swap: the encoders now set thousands and hundreds",
       kXpdr,
       kDme,
       {Upper(Swap)},
       {},
       "        1200",
       " 012.3   118.0"},
      {"Upper fine and coarse encoders a step down together",
       kXpdr,
       kDme,
       {Upper(FineDecrement), Upper(CoarseDecrement)},
       {{"XPNDR_100_DEC", 0}, {"XPNDR_1000_DEC", 0}},
       "        0100",
       " 012.3   118.0"},
      {"Again: squawk 7000",
       kXpdr,
       kDme,
       {Upper(FineDecrement), Upper(CoarseDecrement)},
       {{"XPNDR_100_DEC", 0}, {"XPNDR_1000_DEC", 0}},
       "        7000",
       " 012.3   118.0"},
      {"Upper selector back to COM1", kCom1, kDme, {}, {}, "119.02  122.80", " 012.3   118.0"},
  };
}

class RadioFlight {
 public:
  explicit RadioFlight(FlightLog& log) : log_(log) {}

  void Run() {
    log_.Heading("A radio panel is plugged in, its selectors at COM1 and NAV1");
    simstub::SetVariable("NAV1 DME", 12.3);
    simstub::SetVariable("NAV1 DMESPEED", 118);
    simstub::AdvanceFrames(1);
    Pump();
    platform::vhid::Plug({kPanelPath, static_cast<std::uint16_t>(panels::kRadioPanel.vendorId),
                          static_cast<std::uint16_t>(panels::kRadioPanel.productId),
                          kInputReportLength, 0});
    const InputBytes start = Panel(kCom1, kNav1);
    const std::array<std::uint8_t, 3> selectors{0x00, start[1], start[2]};
    platform::vhid::SetFeatureAnswer(kPanelPath, selectors);
    Pump();
    log_.Check(Settled() && platform::vhid::OpenHandles(kPanelPath) == 2, "radio panel attached");
    CheckWindows("122.80  118.00", "110.50  113.90");

    InputBytes previous = start;
    for (const Step& step : Script()) {
      Move(step, previous);
      previous = Panel(step.upperMode, step.lowerMode);
    }

    log_.Heading("The radio panel is unplugged");
    platform::vhid::Unplug(kPanelPath);
    Pump();
    log_.Check(platform::vhid::OpenHandles(kPanelPath) == 0, "radio panel detached");
  }

 private:
  static bool Settled() { return demo::Settled(kPanelPath); }

  void Move(const Step& step, const InputBytes& previous) {
    log_.Heading(step.title);
    const InputBytes report = Panel(step.upperMode, step.lowerMode, step.controls);
    log_.Line("panel input", DescribeRadioMovement(previous, report));
    // Encoder steps and presses end in the report after them.
    platform::vhid::PushInput(kPanelPath, report);
    platform::vhid::PushInput(kPanelPath, Panel(step.upperMode, step.lowerMode));
    if (!Settled()) log_.Mismatch("the panel's reader to take the reports", "within 10 s");
    Pump();
    log_.CheckEvents(step.events);
    simstub::AdvanceFrames(1);
    Pump();
    CheckWindows(step.upperRow, step.lowerRow);
  }

  void CheckWindows(const std::string& upper, const std::string& lower) {
    const auto log = platform::vhid::FeatureLog(kPanelPath);
    const platform::vhid::Report shown = log.empty() ? platform::vhid::Report{} : log.back();
    const auto Framed = [](const std::string& row) { return "[" + row + "]"; };
    log_.Line("panel output", "upper " + Framed(RowText(shown, true)) + "   lower " +
                                  Framed(RowText(shown, false)));
    if (RowText(shown, true) != upper || RowText(shown, false) != lower) {
      log_.Mismatch("windows", "upper " + Framed(upper) + "   lower " + Framed(lower));
    }
  }

  FlightLog& log_;
};

}  // namespace

void FlyRadioPanel(FlightLog& log) {
  RadioFlight(log).Run();
}

}  // namespace demo
