// The shipped plug-in with panel units at the system-library boundary: the units are
// played by this program, the simulator by the stand-in library the plug-in loads.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Eventually.h"
#include "PluginUnderTest.h"
#include "ProgramFolder.h"
#include "UnitPeer.h"
#include "panels/AutopilotPanelReports.h"
#include "panels/PanelModels.h"
#include "panels/RadioPanelReports.h"
#include "panels/SwitchPanelReports.h"

namespace {

using namespace std::chrono_literals;
using namespace panels::switch_panel;
namespace radio = panels::radio_panel;
namespace autopilot = panels::autopilot_panel;
using ::testing::ElementsAre;
using vunits::Report;
using vunits::UnitPeer;
using vunits::UnitProfile;

using vunits::Eventually;
using vunits::kPatience;

UnitProfile SwitchUnit(const wchar_t* label) {
  return {label, panels::kSwitchPanel.vendorId, panels::kSwitchPanel.productId, kInputReportLength,
          kGearLightReportLength};
}

Report Lamps(std::uint8_t bits) {
  const auto report = MakeGearLightReport(bits);
  return {report.begin(), report.end()};
}

Report Switches(std::initializer_list<InputBit> bits) {
  Report report(kInputReportLength, 0);
  for (const InputBit bit : bits) report[bit.byte] |= bit.mask;
  return report;
}

std::wstring OtherCase(std::wstring path) {
  for (wchar_t& c : path) c = std::iswlower(c) ? std::towupper(c) : std::towlower(c);
  return path;
}

// The client events the simulator received, in order: name and datum.
std::vector<std::pair<std::string, std::uint32_t>> Events(vunits::PluginUnderTest& plugin) {
  std::istringstream lines(plugin.Sim("events"));
  std::vector<std::pair<std::string, std::uint32_t>> events;
  std::string name;
  std::uint32_t datum = 0;
  for (std::string group; lines >> name >> datum >> group;) events.emplace_back(name, datum);
  return events;
}

std::vector<std::string> EventNames(vunits::PluginUnderTest& plugin) {
  std::vector<std::string> names;
  for (const auto& [name, datum] : Events(plugin)) names.push_back(name);
  return names;
}

std::vector<std::uint32_t> EventData(vunits::PluginUnderTest& plugin, const std::string& wanted) {
  std::vector<std::uint32_t> data;
  for (const auto& [name, datum] : Events(plugin)) {
    if (name == wanted) data.push_back(datum);
  }
  return data;
}

// What the unit last received, in hexadecimal, for a failure to show.
std::string LastFeature(UnitPeer& units, const std::wstring& path) {
  const auto features = units.Features(path);
  std::string text;
  if (features.empty()) return "nothing";
  for (const std::uint8_t byte : features.back()) {
    char digits[4];
    std::snprintf(digits, sizeof(digits), "%02X ", byte);
    text += digits;
  }
  return text;
}

// The flight starts, and the plug-in has asked for every panel's data: frames run from
// then on send records.
bool StartFlight(vunits::PluginUnderTest& plugin) {
  return plugin.Sim("system SimStart") == "ok" &&
         Eventually([&] { return plugin.Sim("count SimConnect_RequestDataOnSimObject") == "3"; });
}

bool WaitForEvent(vunits::PluginUnderTest& plugin, const std::string& name) {
  return Eventually([&] {
    const auto names = EventNames(plugin);
    return std::find(names.begin(), names.end(), name) != names.end();
  });
}

bool WaitForLastFeature(UnitPeer& units, const std::wstring& path, const Report& expected) {
  return Eventually([&] {
    const auto features = units.Features(path);
    return !features.empty() && features.back() == expected;
  });
}

// A handle the plug-in closed is seen as closed once the peer has noticed.
bool WaitForOpenHandles(UnitPeer& units, const std::wstring& path, int count) {
  return Eventually([&] { return units.OpenHandles(path) == count; });
}

constexpr std::uint8_t kGreen = kNoseGearLamps.green | kLeftGearLamps.green | kRightGearLamps.green;
constexpr std::uint8_t kRed = kNoseGearLamps.red | kLeftGearLamps.red | kRightGearLamps.red;

TEST(PluginWithPanels, SwitchUnitsAreFoundServedUnpluggedAndStopped) {
  UnitPeer units;
  const auto present = units.Plug(SwitchUnit(L"present-at-start"));
  const auto foreign = units.Plug({L"another-product", panels::kPanelVendorId, 0x0B99, 4, 2});
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());

  // Found by enumeration: opened with its lamps off, and its reader waiting.
  ASSERT_TRUE(units.WaitForFeatures(present, 1, kPatience));
  EXPECT_THAT(units.Features(present), ElementsAre(Lamps(kAllLampsOff)));
  ASSERT_TRUE(units.WaitForReader(present, kPatience));
  ASSERT_TRUE(StartFlight(plugin));

  // Arriving later, then announced again in other letter case: opened once.
  const auto later = units.Plug(SwitchUnit(L"arriving-later"));
  plugin.Announce(true, later);
  ASSERT_TRUE(units.WaitForReader(later, kPatience));
  plugin.Announce(true, OtherCase(later));
  EXPECT_THAT(units.Features(later), ElementsAre(Lamps(kAllLampsOff)));
  EXPECT_TRUE(WaitForOpenHandles(units, later, 2)) << "the synchronous handle and the reader";

  // The unit of another product was asked who it is, and let go.
  EXPECT_TRUE(units.Features(foreign).empty());
  EXPECT_TRUE(WaitForOpenHandles(units, foreign, 0));

  // A switch moves: the simulator's battery comes on, and both units show the gear down.
  ASSERT_TRUE(units.Push(present, Switches({kMasterBatteryOn})));
  ASSERT_TRUE(WaitForEvent(plugin, "TOGGLE_MASTER_BATTERY"));
  EXPECT_THAT(EventData(plugin, "TOGGLE_MASTER_BATTERY"), ElementsAre(0u));
  EXPECT_EQ(plugin.Sim("frames 2"), "ok");
  EXPECT_TRUE(WaitForLastFeature(units, present, Lamps(kGreen)));
  EXPECT_TRUE(WaitForLastFeature(units, later, Lamps(kGreen)));

  // Pulled out: its handles break first, then the system tells the window.
  units.Unplug(present);
  const auto closeTook = plugin.Announce(false, present);
  std::printf("close of an unplugged unit: %lld ms\n", static_cast<long long>(closeTook.count()));
  EXPECT_LT(closeTook, 10s) << "a reader that had to be killed takes 30 s";
  const auto presentFeatures = units.Features(present).size();

  // The other unit is still served: its lever raises the gear, and its lamps follow.
  ASSERT_TRUE(units.Push(later, Switches({kMasterBatteryOn, kGearLeverUp})));
  ASSERT_TRUE(WaitForEvent(plugin, "GEAR_UP"));
  EXPECT_THAT(EventData(plugin, "GEAR_UP"), ElementsAre(0u));
  EXPECT_THAT(EventData(plugin, "TOGGLE_MASTER_BATTERY"), ElementsAre(0u))
      << "the battery is on already";
  EXPECT_EQ(plugin.Sim("frames 2"), "ok");
  EXPECT_TRUE(WaitForLastFeature(units, later, Lamps(kRed)));
  EXPECT_EQ(units.Features(present).size(), presentFeatures);

  // The simulator quits: the unit still attached has its lamps switched off, and the
  // plug-in ends with 0.
  EXPECT_EQ(plugin.QuitAndWait(), 0);
  EXPECT_EQ(units.Features(later).back(), Lamps(kAllLampsOff));
  EXPECT_TRUE(WaitForOpenHandles(units, later, 0));
}

// A radio unit tells its selectors when asked at open, and its windows follow the radio
// each row's selector names.
TEST(PluginWithPanels, RadioUnitStartsFromItsSelectorsTunesAndBlanksAtStop) {
  UnitPeer units;
  const auto unit =
      units.Plug({L"radio", panels::kRadioPanel.vendorId, panels::kRadioPanel.productId,
                  radio::kInputReportLength, radio::kDisplayReportLength});
  // Upper selector at COM1, lower at NAV1, as the feature read at open answers.
  Report selectors(radio::kDisplayReportLength, 0);
  selectors[1] = 0x01;
  selectors[2] = 0x02;
  units.SetFeatureAnswer(unit, selectors);
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());

  // The read is followed by a display written at once, whatever the filter holds.
  ASSERT_TRUE(units.WaitForFeatures(unit, 1, kPatience));
  EXPECT_EQ(units.Features(unit)[0].size(), radio::kDisplayReportLength);
  ASSERT_TRUE(units.WaitForReader(unit, kPatience));

  // The simulator's COM1 and NAV1 reach the left windows of their rows.
  ASSERT_TRUE(StartFlight(plugin));
  EXPECT_EQ(plugin.Sim("set 9029 com active frequency:1"), "ok");  // BCD 0x2345
  EXPECT_EQ(plugin.Sim("set 4096 nav active frequency:1"), "ok");  // BCD 0x1000
  EXPECT_EQ(plugin.Sim("frames 1"), "ok");
  const auto shows = [&](std::size_t window, radio::Window digits) {
    const auto features = units.Features(unit);
    return !features.empty() &&
           std::equal(digits.begin(), digits.end(), features.back().begin() + window);
  };
  EXPECT_TRUE(Eventually([&] {
    return shows(radio::kUpperLeftWindow, {0x01, 0x02, 0xD3, 0x04, 0x05}) &&
           shows(radio::kLowerLeftWindow, {0x01, 0x01, 0xD0, 0x00, 0x00});
  }));

  // One step of the upper fine encoder: one event for COM1.
  Report step(radio::kInputReportLength, 0);
  step[1] = 0x01;  // the selector held at COM1
  step[3] = 0x01;  // upper fine increment
  ASSERT_TRUE(units.Push(unit, step));
  ASSERT_TRUE(WaitForEvent(plugin, "COM_RADIO_FRACT_INC"));
  EXPECT_THAT(EventData(plugin, "COM_RADIO_FRACT_INC"), ElementsAre(0u));

  // At stop every digit goes dark.
  EXPECT_EQ(plugin.QuitAndWait(), 0);
  EXPECT_EQ(units.Features(unit).back(),
            Report(radio::kBlankReport.begin(), radio::kBlankReport.end()));
}

// An autopilot unit tells its selector when asked at open; its encoder and buttons drive
// the simulator's autopilot, and its LCD and lights follow it.
TEST(PluginWithPanels, AutopilotUnitTurnsTheHeadingBugEngagesTheHoldAndResetsAtStop) {
  UnitPeer units;
  const auto unit =
      units.Plug({L"autopilot", panels::kAutopilotPanel.vendorId, panels::kAutopilotPanel.productId,
                  autopilot::kInputReportLength, autopilot::kDisplayReportLength});
  const std::uint8_t hdg = autopilot::kSelectorDetents[3].mask;
  Report selector(autopilot::kDisplayReportLength, 0);
  selector[autopilot::kSelectorByte] = hdg;
  units.SetFeatureAnswer(unit, selector);
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());

  // The read is followed by a display written at once.
  ASSERT_TRUE(units.WaitForFeatures(unit, 1, kPatience));
  EXPECT_EQ(units.Features(unit)[0].size(), autopilot::kDisplayReportLength);
  ASSERT_TRUE(units.WaitForReader(unit, kPatience));

  const auto shows = [&](autopilot::Cells cells, std::uint8_t lights) {
    const auto features = units.Features(unit);
    return !features.empty() &&
           std::equal(cells.begin(), cells.end(),
                      features.back().begin() + autopilot::kFirstRowAt) &&
           features.back()[autopilot::kLightsAt] == lights;
  };
  constexpr std::uint8_t kBlank = autopilot::kCellBlank;
  ASSERT_TRUE(StartFlight(plugin));
  EXPECT_EQ(plugin.Sim("set 44 AUTOPILOT HEADING LOCK DIR"), "ok");
  EXPECT_EQ(plugin.Sim("frames 1"), "ok");
  EXPECT_TRUE(Eventually([&] {
    return shows({kBlank, kBlank, 0, 4, 4}, 0);
  })) << LastFeature(units, unit);

  // One step of the encoder in HDG moves the heading bug, and the LCD shows it.
  Report report(autopilot::kInputReportLength, 0);
  report[1] = hdg | autopilot::kEncoderIncrease.mask;
  ASSERT_TRUE(units.Push(unit, report));
  ASSERT_TRUE(WaitForEvent(plugin, "HEADING_BUG_INC"));
  EXPECT_EQ(plugin.Sim("frames 1"), "ok");
  EXPECT_TRUE(Eventually([&] {
    return shows({kBlank, kBlank, 0, 4, 5}, 0);
  })) << LastFeature(units, unit);

  // HDG pressed while the hold is off asks for it on, and its light comes on.
  report[1] = hdg;
  report[autopilot::kHdgButton.byte] = autopilot::kHdgButton.mask;
  ASSERT_TRUE(units.Push(unit, report));
  ASSERT_TRUE(WaitForEvent(plugin, "AP_PANEL_HEADING_SET"));
  EXPECT_THAT(EventData(plugin, "AP_PANEL_HEADING_SET"), ElementsAre(1u));
  EXPECT_EQ(plugin.Sim("frames 1"), "ok");
  EXPECT_TRUE(Eventually([&] {
    return shows({kBlank, kBlank, 0, 4, 5}, autopilot::kLightHdg);
  })) << LastFeature(units, unit);

  // At stop the unit's own blank cells, every light off.
  EXPECT_EQ(plugin.QuitAndWait(), 0);
  const auto reset = autopilot::MakeResetReport();
  EXPECT_EQ(units.Features(unit).back(), Report(reset.begin(), reset.end()));
}

}  // namespace

// A unit of every model pulled out while its reports flow: each close is prompt, so no
// reader had to be killed, and the units still attached are served on.
TEST(PluginWithPanels, UnitsOfEveryModelUnpluggedWhileReportsFlowClosePromptly) {
  UnitPeer units;
  struct Flowing {
    std::wstring path;
    Report pressed;
    Report released;
  };
  const std::vector<Flowing> flowing = {
      {units.Plug({L"ap-flowing", panels::kAutopilotPanel.vendorId,
                   panels::kAutopilotPanel.productId, autopilot::kInputReportLength,
                   autopilot::kDisplayReportLength}),
       {0, 0, autopilot::kHdgButton.mask, 0},
       {0, 0, 0, 0}},
      {units.Plug({L"radio-flowing", panels::kRadioPanel.vendorId, panels::kRadioPanel.productId,
                   radio::kInputReportLength, radio::kDisplayReportLength}),
       {0, 0x01, 0, 0x04},
       {0, 0x01, 0, 0}},
      {units.Plug(SwitchUnit(L"switch-flowing")), Switches({kDeIceOn}), Switches({})},
  };
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());
  for (const Flowing& unit : flowing) ASSERT_TRUE(units.WaitForReader(unit.path, kPatience));
  ASSERT_TRUE(StartFlight(plugin));

  // Stopped and joined however the test ends: a failed ASSERT returns through it, before
  // the plug-in is ended and the units go.
  std::jthread sender([&](std::stop_token stop) {
    while (!stop.stop_requested()) {
      for (const Flowing& unit : flowing) {
        units.Push(unit.path, unit.pressed, stop);
        units.Push(unit.path, unit.released, stop);
      }
      Sleep(1);
    }
  });
  ASSERT_TRUE(WaitForEvent(plugin, "AP_PANEL_HEADING_SET"));
  ASSERT_TRUE(WaitForEvent(plugin, "COM_RADIO_WHOLE_INC"));
  ASSERT_TRUE(WaitForEvent(plugin, "ANTI_ICE_SET"));

  for (const Flowing& unit : flowing) {
    units.Unplug(unit.path);
    const auto closeTook = plugin.Announce(false, unit.path);
    std::printf("close of a unit unplugged mid-stream: %lld ms\n",
                static_cast<long long>(closeTook.count()));
    EXPECT_LT(closeTook, 10s) << "a reader that had to be killed takes 30 s";
    EXPECT_TRUE(WaitForOpenHandles(units, unit.path, 0));
  }
  sender.request_stop();
  sender.join();
  EXPECT_EQ(plugin.QuitAndWait(), 0);
}

namespace {

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// The lines one plug-in process wrote to its log in the prefix, in the user's local
// application-data folder as the plug-in finds it.
std::vector<std::string> PluginLog(DWORD processId) {
  std::array<wchar_t, MAX_PATH> folder{};
  if (!SHGetSpecialFolderPathW(nullptr, folder.data(), CSIDL_LOCAL_APPDATA, FALSE)) return {};
  const std::string own = "[pid " + std::to_string(processId) + "] ";
  std::vector<std::string> lines;
  // The older file first: the log may have been moved aside while the plug-in ran.
  for (const char* name : {"KorPanels.1.log", "KorPanels.log"}) {
    std::ifstream file(std::filesystem::path(folder.data()) / "Korvane" / name, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
      if (const auto text = line.find(own); text != std::string::npos) {
        lines.push_back(
            line.substr(text + own.size(), line.find_last_not_of('\r') - text - own.size() + 1));
      }
    }
  }
  return lines;
}

// A handle that has asked nothing yet looks like the reader to the peer, and so does each
// behaviour's look at the unit's model while it opens. The log's line follows all of them,
// the first outputs and the reader's start: what a test that counts opens or holds the
// unit's answers waits for.
bool WaitForAttached(const vunits::PluginUnderTest& plugin, const std::string& model,
                     const std::wstring& path) {
  const std::string attached = "Attached the " + model + " panel at " + Narrow(path) + ".";
  return Eventually(
      [&] { return std::ranges::count(PluginLog(plugin.ProcessId()), attached) == 1; });
}

struct Ended {
  long exitCode;  // -1 when it had to be ended
  std::chrono::milliseconds took;
};

// Another KorPanels.exe -run from the same folder, as a pilot's double-click starts it.
// Had it connected, its stand-in simulator would log the calls into `callLog` and quit
// after 3 s.
Ended RunAnotherPlugin(const std::wstring& callLog) {
  const std::wstring folder = vunits::OwnFolder();
  SetEnvironmentVariableW(L"SIMSTUB_CONTROL_PIPE", L"\\\\.\\pipe\\korvane-simstub-another");
  SetEnvironmentVariableW(L"SIMSTUB_CALL_LOG", callLog.c_str());
  SetEnvironmentVariableW(L"SIMSTUB_QUIT_AFTER_MS", L"3000");
  std::wstring commandLine = L"\"" + folder + L"KorPanels.exe\" -run";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const auto start = std::chrono::steady_clock::now();
  const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                      nullptr, folder.c_str(), &startup, &process);
  SetEnvironmentVariableW(L"SIMSTUB_CALL_LOG", nullptr);
  SetEnvironmentVariableW(L"SIMSTUB_QUIT_AFTER_MS", nullptr);
  if (!started) return {-1, {}};
  DWORD exitCode = 0;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  } else {
    TerminateProcess(process.hProcess, 99);
    exitCode = static_cast<DWORD>(-1);
  }
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {static_cast<long>(exitCode), took};
}

}  // namespace

// What a pilot would send: the shipped plug-in's log names how it found the simulator's
// library, each unit it attached with its path, the unplug, and the quit.
TEST(PluginWithPanels, TheLogNamesTheLibraryEachAttachedUnitAndTheQuit) {
  using ::testing::Contains;
  using ::testing::HasSubstr;
  using ::testing::IsSupersetOf;
  using ::testing::StartsWith;
  UnitPeer units;
  const auto present = units.Plug(SwitchUnit(L"logged-at-start"));
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());
  ASSERT_TRUE(units.WaitForReader(present, kPatience));
  const auto later = units.Plug(SwitchUnit(L"logged-arriving"));
  plugin.Announce(true, later);
  ASSERT_TRUE(units.WaitForReader(later, kPatience));
  units.Unplug(later);
  plugin.Announce(false, later);
  ASSERT_EQ(plugin.QuitAndWait(), 0);

  const auto lines = PluginLog(plugin.ProcessId());
  EXPECT_THAT(lines,
              Contains(StartsWith("KorPanels 1.0.0 started to run as the simulator's plug-in")));
  EXPECT_THAT(lines, IsSupersetOf(std::vector<std::string>{
                         "Loaded the simulator's client library SimConnect.dll by its plain name.",
                         "Connected to the simulator.",
                         "Attached the switch panel at " + Narrow(present) + ".",
                         "Attached the switch panel at " + Narrow(later) + ".",
                         "The simulator is quitting; the plug-in stops its panels.",
                         "KorPanels ended with exit code 0.",
                     }));
  EXPECT_THAT(lines, Contains(StartsWith("Detached the switch panel at " + Narrow(later) +
                                         " (it was unplugged); it stopped in ")));
  EXPECT_THAT(lines, Contains(StartsWith("Detached the switch panel at " + Narrow(present) +
                                         " (the plug-in stops); it stopped in ")));
}

// A pilot double-clicks the plug-in while the simulator's one serves a switch unit: the
// second ends at once without opening the unit or the simulator, and a switch movement is
// still sent once.
TEST(PluginWithPanels, ASecondPluginEndsAtOnceAndTheFirstSendsEachMovementOnce) {
  UnitPeer units;
  const auto unit = units.Plug(SwitchUnit(L"served-by-the-first"));
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());
  ASSERT_TRUE(WaitForAttached(plugin, "switch", unit));
  const int opensBefore = units.Opens(unit);

  const std::wstring callLog = vunits::OwnFolder() + L"another-plugin-calls.txt";
  DeleteFileW(callLog.c_str());
  const Ended another = RunAnotherPlugin(callLog);
  std::printf("a second plug-in ended with %ld after %lld ms\n", another.exitCode,
              static_cast<long long>(another.took.count()));
  EXPECT_EQ(another.exitCode, 0);
  EXPECT_LT(another.took, 2s);
  EXPECT_EQ(units.Opens(unit), opensBefore) << "the second plug-in opened the unit";
  EXPECT_EQ(GetFileAttributesW(callLog.c_str()), INVALID_FILE_ATTRIBUTES)
      << "the second plug-in connected to its simulator";

  ASSERT_TRUE(units.Push(unit, Switches({kMasterBatteryOn})));
  ASSERT_TRUE(WaitForEvent(plugin, "TOGGLE_MASTER_BATTERY"));
  EXPECT_THAT(EventData(plugin, "TOGGLE_MASTER_BATTERY"), ElementsAre(0u));
  EXPECT_EQ(plugin.QuitAndWait(), 0);
}

// Plugged in on final approach, gear down and battery on: dark for a moment, then the gear
// as it is, before anything in the simulator changes.
TEST(PluginWithPanels, SwitchUnitPluggedInWithTheGearDownShowsItAtOnce) {
  UnitPeer units;
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());
  ASSERT_TRUE(StartFlight(plugin));
  EXPECT_EQ(plugin.Sim("set 1 ELECTRICAL MASTER BATTERY"), "ok");
  EXPECT_EQ(plugin.Sim("frames 1"), "ok");
  ASSERT_TRUE(Eventually([&] { return plugin.Sim("pending") == "0"; })) << "record not taken";

  const auto unit = units.Plug(SwitchUnit(L"plugged-on-final"));
  plugin.Announce(true, unit);
  ASSERT_TRUE(units.WaitForFeatures(unit, 2, kPatience)) << LastFeature(units, unit);
  EXPECT_THAT(units.Features(unit), ElementsAre(Lamps(kAllLampsOff), Lamps(kGreen)));
  EXPECT_EQ(plugin.QuitAndWait(), 0);
}

// A radio unit takes a display and never answers, so its reader hangs in the write with
// the unit's guard held. Told of the removal, the plug-in kills the reader after its 30 s,
// closes every handle to the unit, and serves the next unit.
TEST(PluginWithPanels, ReaderHungInAWriteIsKilledAfterTheLimitAndLeavesNoHandleOpen) {
  UnitPeer units;
  const auto hung =
      units.Plug({L"radio-hung", panels::kRadioPanel.vendorId, panels::kRadioPanel.productId,
                  radio::kInputReportLength, radio::kDisplayReportLength});
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());
  ASSERT_TRUE(WaitForAttached(plugin, "radio", hung));
  const auto written = units.Features(hung).size();

  // The upper selector moves, and the display that follows is written at once.
  units.HoldFeatureAnswers(hung);
  Report selector(radio::kInputReportLength, 0);
  selector[1] = 0x01;  // COM1; the unit was attached at COM2
  ASSERT_TRUE(units.Push(hung, selector));
  ASSERT_TRUE(units.WaitForFeatures(hung, written + 1, kPatience));

  // Not unplugged: its handles stay whole, and only the plug-in can close them.
  const auto closeTook = plugin.Announce(false, hung);
  std::printf("close of a unit whose reader hung: %lld ms\n",
              static_cast<long long>(closeTook.count()));
  EXPECT_LT(closeTook, 32s) << "the limit, a second for the kill, and the message's own time";
  EXPECT_TRUE(WaitForOpenHandles(units, hung, 0)) << units.OpenHandles(hung) << " still open";

  const auto next = units.Plug(SwitchUnit(L"after-the-kill"));
  plugin.Announce(true, next);
  ASSERT_TRUE(units.WaitForReader(next, kPatience));
  ASSERT_TRUE(units.Push(next, Switches({kMasterBatteryOn})));
  ASSERT_TRUE(WaitForEvent(plugin, "TOGGLE_MASTER_BATTERY"));
  EXPECT_EQ(plugin.QuitAndWait(), 0);
}
