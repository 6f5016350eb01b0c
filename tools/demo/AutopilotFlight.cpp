#include "tools/demo/AutopilotFlight.h"

#include <array>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "panels/PanelModels.h"
#include "platform/posix/virtual_hid_bus.h"
#include "simstub/SimStub.h"
#include "tools/demo/AutopilotPanelText.h"

namespace demo {

using namespace panels::autopilot_panel;

namespace {

const std::wstring kPanelPath = L"\\\\?\\hid#vid_1c7a&pid_0b21#demo-autopilot-panel";
// Enough for the simulator's record to reach the panel.
constexpr unsigned kFramesPerStep = 2;

using Report = std::array<std::uint8_t, kInputReportLength>;

// One movement of the panel, the client events that must follow, and each display report
// the panel is then sent, as DescribeDisplay puts it.
struct Step {
  std::string title;
  Report report;
  std::vector<Event> events;
  std::vector<std::string> display;
};

constexpr Report Panel(std::uint8_t selectorAndEncoder, std::uint8_t buttons = 0,
                       std::uint8_t flapsAndTrim = 0) {
  return {0x00, selectorAndEncoder, buttons, flapsAndTrim};
}

std::vector<Step> Script() {
  constexpr std::uint8_t kAlt = kSelectorDetents[0].mask;
  constexpr std::uint8_t kVs = kSelectorDetents[1].mask;
  constexpr std::uint8_t kHdg = kSelectorDetents[3].mask;
  constexpr std::uint8_t kUp = kEncoderIncrease.mask;
  constexpr std::uint8_t kDown = kEncoderDecrease.mask;
  const std::string kHeadingRows = "LCD [  045] [     ], lights ";
  return {
      {"Altitude up a hundred feet",
       Panel(kAlt | kUp),
       {{"AP_ALT_VAR_INC", 0}},
       {"LCD [05000] [ -600], lights none"}},
      // Both positions show the same rows; the move is written all the same.
      {"Selector to VS", Panel(kVs), {}, {"LCD [05000] [ -600], lights none"}},
      {"Vertical speed down a hundred feet a minute",
       Panel(kVs | kDown),
       {{"AP_VS_VAR_DEC", 0}},
       {"LCD [05000] [ -700], lights none"}},
      {"Selector to HDG", Panel(kHdg), {}, {"LCD [  044] [     ], lights none"}},
      {"Heading bug one degree right",
       Panel(kHdg | kUp),
       {{"HEADING_BUG_INC", 0}},
       {kHeadingRows + "none"}},
      {"HDG pressed: the heading hold engages",
       Panel(kHdg, kHdgButton.mask),
       {{"AP_PANEL_HEADING_SET", 1}},
       {kHeadingRows + "HDG"}},
      {"AP pressed: the autopilot takes over",
       Panel(kHdg | kApButton.mask),
       {{"AP_MASTER", 0}},
       {kHeadingRows + "AP, HDG"}},
      {"Auto-throttle armed", Panel(kHdg, kAutoThrottleArmed.mask), {{"AUTO_THROTTLE_ARM", 0}}, {}},
      {"Flaps one notch down, trim nose up",
       Panel(kHdg, kAutoThrottleArmed.mask, kFlapsExtend.mask | kTrimNoseUp.mask),
       {{"FLAPS_INCR", 0}, {"ELEV_TRIM_UP", 0}},
       {}},
  };
}

std::string Describe(const std::vector<std::string>& displays) {
  if (displays.empty()) return "none";
  std::string text;
  for (const std::string& display : displays) text += (text.empty() ? "" : " / then ") + display;
  return text;
}

const char* OnOff(const char* variable) {
  return simstub::GetVariable(variable) != 0 ? "on" : "off";
}

// The simulator's side of what the panel sets and shows.
std::string SimulatorState() {
  std::ostringstream text;
  text << std::fixed << std::setprecision(0) << "altitude "
       << simstub::GetVariable("AUTOPILOT ALTITUDE LOCK VAR") << " ft, vertical speed "
       << simstub::GetVariable("AUTOPILOT VERTICAL HOLD VAR") << " ft/min, heading bug "
       << simstub::GetVariable("AUTOPILOT HEADING LOCK DIR") << ", autopilot "
       << OnOff("AUTOPILOT MASTER") << ", heading hold " << OnOff("AUTOPILOT HEADING LOCK")
       << ", auto-throttle " << OnOff("AUTOPILOT THROTTLE ARM") << ", flaps notch "
       << simstub::GetVariable("FLAPS HANDLE INDEX") << ", trim "
       << simstub::GetVariable("ELEVATOR TRIM PCT") << "%";
  return text.str();
}

}  // namespace

void AutopilotFlight::Fly() {
  log_.Heading("The autopilot is set up in the simulator, and an autopilot panel is plugged in");
  simstub::SetVariable("AUTOPILOT ALTITUDE LOCK VAR", 4900);
  simstub::SetVariable("AUTOPILOT VERTICAL HOLD VAR", -600);
  simstub::SetVariable("AUTOPILOT HEADING LOCK DIR", 44);
  simstub::AdvanceFrames(kFramesPerStep);
  Pump();
  platform::vhid::Plug({kPanelPath, static_cast<std::uint16_t>(panels::kAutopilotPanel.vendorId),
                        static_cast<std::uint16_t>(panels::kAutopilotPanel.productId),
                        kInputReportLength, 0});
  Pump();
  log_.Check(Settled(kPanelPath) && platform::vhid::OpenHandles(kPanelPath) == 2,
             "autopilot panel attached, its selector at ALT");
  CheckDisplay({"LCD [04900] [ -600], lights none"});

  Report previous{};
  for (const Step& step : Script()) {
    log_.Heading(step.title);
    log_.Line("panel input",
              DescribeAutopilotMovement(previous, step.report) + "   [" + Hex(step.report) + "]");
    platform::vhid::PushInput(kPanelPath, step.report);
    if (!Settled(kPanelPath)) log_.Mismatch("the panel's reader to take the report", "within 10 s");
    Pump();
    log_.CheckEvents(step.events);
    simstub::AdvanceFrames(kFramesPerStep);
    Pump();
    log_.Line("simulator", SimulatorState());
    CheckDisplay(step.display);
    previous = step.report;
  }
}

void AutopilotFlight::CheckLeftBlank() {
  CheckDisplay({"LCD [     ] [     ], lights none"});
}

// The display reports written since the last look.
void AutopilotFlight::CheckDisplay(const std::vector<std::string>& expected) {
  const auto log = platform::vhid::FeatureLog(kPanelPath);
  std::vector<std::string> displays;
  for (std::size_t i = outputsSeen_; i < log.size(); ++i)
    displays.push_back(DescribeDisplay(log[i]));
  outputsSeen_ = log.size();
  log_.Line("panel output", Describe(displays));
  if (displays != expected) log_.Mismatch("display", Describe(expected));
}

}  // namespace demo
