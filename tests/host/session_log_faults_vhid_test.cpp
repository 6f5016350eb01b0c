#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "eventlog/ProcessLog.h"
#include "installer/temp_folder.h"
#include "panels/SwitchPanelReports.h"
#include "platform/posix/message_pump.h"
#include "platform/window.h"
#include "simstub/SimStub.h"
#include "support/MainWindowFixture.h"
#include "support/VirtualUnit.h"

namespace {

namespace fs = std::filesystem;
using installer_test::TempFolder;

// What a session did, as the simulator and the unit saw it: the entry points called, in
// order (their ids and handles differ from one session to the next), and the client events.
struct Outcome {
  std::vector<std::string> calls;
  std::vector<std::string> events;
  std::vector<platform::vhid::Report> features;
  int exitCode = -1;
};

struct BrokenLog {
  const char* label;
  std::function<void(const TempFolder&)> make;
};

using SessionWithBrokenLogTest = MainWindowFixture;

// A session with an attach, a switch moved, a detach and the quit.
Outcome Session() {
  simstub::Reset();
  Outcome outcome;
  std::optional<CMainDlg> window;
  if (!window.emplace().Create()) return outcome;
  {
    VirtualUnit unit(L"switch-1", 0x1C7A, 0x0B23, 4);
    while (platform::posix::DispatchPendingMessages()) {
    }
    unit.Settle();
    const auto& battery = panels::switch_panel::kMasterBatteryOn;
    std::vector<std::uint8_t> report(4, 0);
    report[battery.byte] = battery.mask;
    platform::vhid::PushInput(unit.path(), report);
    unit.Settle();
    outcome.features = unit.Features();
  }
  simstub::Quit();
  outcome.exitCode = platform::RunMessageLoop();
  for (const std::string& call : simstub::CallLog()) {
    outcome.calls.push_back(call.substr(0, call.find('(')));
  }
  for (const simstub::TransmittedEvent& event : simstub::TransmittedEvents()) {
    outcome.events.push_back(event.name + " " + std::to_string(event.datum));
  }
  window.reset();
  platform::vhid::Reset();
  return outcome;
}

// Wherever the log cannot go, the plug-in does exactly what it does without one.
TEST_F(SessionWithBrokenLogTest, ALogThatCannotBeWrittenChangesNothingElse) {
  const Outcome unlogged = Session();
  ASSERT_EQ(unlogged.exitCode, 0);
  ASSERT_FALSE(unlogged.features.empty());
  ASSERT_FALSE(unlogged.events.empty());

  const std::string full(eventlog::EventLog::kRotateAtBytes, 'x');
  const std::vector<BrokenLog> places = {
      {"no such folder", [](const TempFolder& home) { fs::remove_all(home.Path()); }},
      {"its folder's name is a file's", [](const TempFolder& home) { home.Write("Korvane", ""); }},
      {"its name is a folder's",
       [](const TempFolder& home) { home.MakeFolder("Korvane/KorPanels.log"); }},
      {"every write fails",
       [](const TempFolder& home) {
         home.MakeFolder("Korvane");
         fs::create_symlink("/dev/full", home.Path("Korvane/KorPanels.log"));
       }},
      {"it is full and cannot be moved aside",
       [&full](const TempFolder& home) {
         home.MakeFolder("Korvane/KorPanels.1.log/kept");
         home.Write("Korvane/KorPanels.log", full);
       }},
  };
  for (const BrokenLog& place : places) {
    TempFolder home;
    place.make(home);
    const eventlog::ProcessLog log(home.Wide());
    const Outcome logged = Session();
    EXPECT_EQ(logged.calls, unlogged.calls) << place.label;
    EXPECT_EQ(logged.events, unlogged.events) << place.label;
    EXPECT_EQ(logged.features, unlogged.features) << place.label;
    EXPECT_EQ(logged.exitCode, unlogged.exitCode) << place.label;
    const fs::path file = home.Path("Korvane/KorPanels.log");
    if (fs::is_regular_file(file)) {
      EXPECT_LE(fs::file_size(file), eventlog::EventLog::kRotateAtBytes) << place.label;
    }
  }
}

}  // namespace
