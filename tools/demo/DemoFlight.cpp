#include "tools/demo/DemoFlight.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "host/CMainDlg.h"
#include "platform/posix/virtual_hid_bus.h"
#include "simstub/SimStub.h"
#include "tools/demo/AutopilotFlight.h"
#include "tools/demo/FlightLog.h"
#include "tools/demo/RadioFlight.h"
#include "tools/demo/SwitchPanelText.h"

namespace demo {

using namespace panels::switch_panel;

namespace {

const std::wstring kPanelPath = L"\\\\?\\hid#vid_1c7a&pid_0b23#demo-switch-panel";
constexpr std::uint16_t kVendorId = 0x1C7A;
constexpr std::uint16_t kSwitchPanelId = 0x0B23;
// Enough frames for the gear to travel all the way.
constexpr unsigned kFramesPerStep = 12;

using Report = std::array<std::uint8_t, kInputReportLength>;

// One movement of the panel and what must follow from it: the client events in order, and
// the gear lamps the panel shows as the simulator catches up (a lamp state held over
// several frames counts once).
struct Step {
  std::string title;
  Report report;
  std::vector<Event> events;
  std::vector<std::uint8_t> lamps;
};

constexpr std::uint8_t kOff = kAllLampsOff;
constexpr std::uint8_t kGreen = kNoseGearLamps.green | kLeftGearLamps.green | kRightGearLamps.green;
constexpr std::uint8_t kRed = kNoseGearLamps.red | kLeftGearLamps.red | kRightGearLamps.red;

// The same event for engines 1 to 4, named stem, engine number, suffix.
std::vector<Event> OnEveryEngine(const std::string& stem, const std::string& suffix,
                                 std::uint32_t datum) {
  std::vector<Event> events;
  for (char engine = '1'; engine <= '4'; ++engine) {
    events.push_back({stem + engine + suffix, datum});
  }
  return events;
}

std::vector<Event> Magnetos(std::uint32_t position) {
  return OnEveryEngine("MAGNETO", "_SET", position);
}

std::vector<Event> Then(std::vector<Event> events, const Event& last) {
  events.push_back(last);
  return events;
}

// Report bytes 1 to 3; byte 0 is the report id.
constexpr Report Panel(std::uint8_t switches, std::uint8_t lightsAndKnob,
                       std::uint8_t knobAndGear) {
  return {0x00, switches, lightsAndKnob, knobAndGear};
}

std::vector<Step> Script() {
  constexpr std::uint8_t kBattery = kMasterBatteryOn.mask;
  constexpr std::uint8_t kPower = kBattery | kMasterAlternatorOn.mask;
  constexpr std::uint8_t kLights = kBeaconLightsOn.mask | kNavLightsOn.mask | kStrobeLightsOn.mask;
  constexpr std::uint8_t kKnobOff = kMagnetoOff.mask;
  constexpr std::uint8_t kKnobStart = kMagnetoStart.mask;
  constexpr std::uint8_t kKnobBoth = kMagnetoBoth.mask;
  constexpr std::uint8_t kDown = kGearLeverDown.mask;
  constexpr std::uint8_t kUp = kGearLeverUp.mask;
  // The simulator's magneto positions: 0 off, 3 both, 4 start.
  constexpr std::uint32_t kMagnetoOffPosition = 0;
  constexpr std::uint32_t kBothPosition = 3;
  constexpr std::uint32_t kStartPosition = 4;
  return {
      // Before its first report the panel counts as all zero: every control already in a
      // position has just moved there. Without power the gear lamps stay dark.
      {"The panel reports where its controls stand",
       Panel(0, kKnobOff, kDown),
       Then(Magnetos(kMagnetoOffPosition), {"GEAR_DOWN", 0}),
       {kOff}},
      {"Battery on", Panel(kBattery, kKnobOff, kDown), {{"TOGGLE_MASTER_BATTERY", 0}}, {kGreen}},
      {"Alternator on",
       Panel(kPower, kKnobOff, kDown),
       OnEveryEngine("TOGGLE_ALTERNATOR", "", 0),
       {kGreen}},
      {"Beacon, nav lights and strobes on",
       Panel(kPower, kLights | kKnobOff, kDown),
       {{"TOGGLE_BEACON_LIGHTS", 0}, {"TOGGLE_NAV_LIGHTS", 0}, {"STROBES_TOGGLE", 0}},
       {kGreen}},
      // The magnetos are not part of the panel's record: the lamps are not written again.
      {"Magnetos to START",
       Panel(kPower, kLights, kKnobStart | kDown),
       Magnetos(kStartPosition),
       {}},
      {"Magnetos to BOTH", Panel(kPower, kLights, kKnobBoth | kDown), Magnetos(kBothPosition), {}},
      {"Gear up", Panel(kPower, kLights, kKnobBoth | kUp), {{"GEAR_UP", 0}}, {kRed, kOff}},
      {"Gear down", Panel(kPower, kLights, kKnobBoth | kDown), {{"GEAR_DOWN", 0}}, {kRed, kGreen}},
  };
}

std::string Describe(const std::vector<std::uint8_t>& lamps) {
  if (lamps.empty()) return "none";
  std::string text;
  for (std::uint8_t bits : lamps) text += (text.empty() ? "" : " / then ") + DescribeLamps(bits);
  return text;
}

const char* OnOff(const char* variable) {
  return simstub::GetVariable(variable) != 0 ? "on" : "off";
}

// The simulator's side of what the panel moves and shows.
std::string SimulatorState() {
  static constexpr std::array kMagnetoPositions = {"OFF", "R", "L", "BOTH", "START"};
  const auto magneto =
      static_cast<std::size_t>(simstub::GetVariable("RECIP ENG MAGNETO POSITION:1"));
  std::ostringstream text;
  text << std::fixed << std::setprecision(0) << "battery " << OnOff("ELECTRICAL MASTER BATTERY")
       << ", alternators";
  for (const char* engine : {"1", "2", "3", "4"}) {
    text << (*engine == '1' ? " " : "/")
         << OnOff((std::string("GENERAL ENG MASTER ALTERNATOR:") + engine).c_str());
  }
  text << ", beacon " << OnOff("LIGHT BEACON") << ", nav " << OnOff("LIGHT NAV") << ", strobes "
       << OnOff("LIGHT STROBE") << ", magnetos "
       << (magneto < kMagnetoPositions.size() ? kMagnetoPositions[magneto] : "?")
       << ", gear handle " << (simstub::GetVariable("GEAR HANDLE POSITION") != 0 ? "down" : "up")
       << ", gear extended " << simstub::GetVariable("GEAR CENTER POSITION") * 100 << "%/"
       << simstub::GetVariable("GEAR LEFT POSITION") * 100 << "%/"
       << simstub::GetVariable("GEAR RIGHT POSITION") * 100 << "%";
  return text.str();
}

class Flight : public FlightLog {
 public:
  explicit Flight(std::ostream& trace) : FlightLog(trace) {}

  bool Run() {
    simstub::Reset();
    platform::vhid::Reset();
    trace_ << "Korvane panels demo: the plug-in's main window with virtual switch, autopilot and\n"
              "radio panels and the stand-in simulator.\n";
    CMainDlg window;

    Heading("The simulator is running; the plug-in starts");
    Check(window.Create() && simstub::IsOpen(), "main window created and connected");

    Heading("The simulator starts a flight (SimStart)");
    simstub::FireSystemEvent("SimStart");
    Pump();
    Check(CallsOf("SimConnect_RequestDataOnSimObject") == 3,
          "data requests started for the autopilot, radio and switch panels");

    Heading("A switch panel is plugged in");
    platform::vhid::Plug({kPanelPath, kVendorId, kSwitchPanelId, kInputReportLength, 0});
    Pump();
    Check(Settled() && platform::vhid::OpenHandles(kPanelPath) == 2, "switch panel attached");
    CheckOutputs({kOff});

    Report previous{};
    for (const Step& step : Script()) {
      Move(step, previous);
      previous = step.report;
    }

    AutopilotFlight autopilot(*this);
    autopilot.Fly();

    // The radio panel flies while the switch and autopilot panels stay attached.
    FlyRadioPanel(*this);

    Heading("The switch panel is unplugged");
    CheckOutputs({});
    platform::vhid::Unplug(kPanelPath);
    Pump();
    Check(platform::vhid::OpenHandles(kPanelPath) == 0, "switch panel detached");

    Heading("The simulator quits");
    simstub::Quit();
    const int exitCode = platform::RunMessageLoop();
    Check(exitCode == 0 && window.Handle() == nullptr,
          "main window closed, message loop ended with " + std::to_string(exitCode));
    autopilot.CheckLeftBlank();

    trace_ << "\n"
           << (Matched() ? "Every step matched its script.\n"
                         : "Some steps did NOT match their script.\n");
    return Matched();
  }

 private:
  static bool Settled() { return demo::Settled(kPanelPath); }
  static std::size_t CallsOf(const std::string& entryPoint) {
    const auto log = simstub::CallLog();
    return static_cast<std::size_t>(std::ranges::count_if(
        log, [&](const std::string& call) { return call.starts_with(entryPoint + "("); }));
  }

  void Move(const Step& step, const Report& previous) {
    Heading(step.title);
    Line("panel input", DescribeMovement(previous, step.report) + "   [" + Hex(step.report) + "]");
    platform::vhid::PushInput(kPanelPath, step.report);
    if (!Settled()) Mismatch("the panel's reader to take the report", "within 10 s");
    Pump();

    CheckEvents(step.events);

    simstub::AdvanceFrames(kFramesPerStep);
    Pump();
    Line("simulator", SimulatorState());
    CheckOutputs(step.lamps);
  }

  // The gear-light reports written since the last look, a state held over frames once.
  void CheckOutputs(const std::vector<std::uint8_t>& expected) {
    const auto log = platform::vhid::FeatureLog(kPanelPath);
    std::vector<std::uint8_t> lamps;
    for (std::size_t i = outputsSeen_; i < log.size(); ++i) {
      const std::uint8_t bits = log[i].size() == kGearLightReportLength ? log[i][1] : 0xFF;
      if (lamps.empty() || lamps.back() != bits) lamps.push_back(bits);
    }
    outputsSeen_ = log.size();
    Line("panel output", lamps.empty() ? "none" : "gear lamps " + Describe(lamps));
    if (lamps != expected) Mismatch("gear lamps", Describe(expected));
  }

  std::size_t outputsSeen_ = 0;
};

}  // namespace

bool RunDemoFlight(std::ostream& trace) {
  return Flight(trace).Run();
}

}  // namespace demo
