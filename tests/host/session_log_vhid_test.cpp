#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "eventlog/ProcessLog.h"
#include "installer/Installer.h"
#include "installer/temp_folder.h"
#include "platform/messages.h"
#include "platform/result.h"
#include "platform/window.h"
#include "simstub/SimStub.h"
#include "support/MainWindowFixture.h"
#include "support/VirtualUnit.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;

namespace {

constexpr std::uint16_t kVendor = 0x1C7A;
constexpr std::uint16_t kSwitchModel = 0x0B23;

// The plug-in's main window with its log in a scratch local application-data folder.
class SessionLogTest : public MainWindowFixture {
 protected:
  // The text of each line, after its time and process id.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    std::istringstream lines(home.Read("Korvane/KorPanels.log").value_or(""));
    for (std::string line; std::getline(lines, line);) {
      const auto text = line.find("] ");
      texts.push_back(line.substr(text + 2, line.size() - text - 3));
    }
    return texts;
  }
  // The window handles what is pending; the simulator quits and the loop ends.
  void QuitSimulator() {
    Pump();
    simstub::Quit();
    EXPECT_EQ(platform::RunMessageLoop(), 0);
  }

  installer_test::TempFolder home;
  eventlog::ProcessLog log{home.Wide()};
};

TEST_F(SessionLogTest, AnAttachADetachAndTheQuitAreTheSessionsLinesInOrder) {
  ASSERT_TRUE(Create());
  VirtualUnit unit(L"switch-1", kVendor, kSwitchModel, 4);
  Pump();
  ASSERT_TRUE(unit.Settle());
  platform::vhid::Unplug(unit.path());
  QuitSimulator();

  EXPECT_THAT(
      Texts(),
      ElementsAre("Loaded the simulator's client library SimConnect.dll by its plain name.",
                  "Connected to the simulator.", "Attached the switch panel at switch-1.",
                  MatchesRegex("Detached the switch panel at switch-1 \\(it was unplugged\\); it "
                               "stopped in [0-9]+ ms\\."),
                  "The simulator is quitting; the plug-in stops its panels."));
}

struct Story {
  const char* label;
  std::function<void(SessionLogTest&)> given;   // before the window is made
  std::function<void(CMainDlg&)> when;          // while it runs
  ::testing::Matcher<const std::string&> line;  // a line the log then holds
};

// Each sets its scene, runs the window until the simulator quits, and finds its line.
class SessionLogStories : public SessionLogTest {
 protected:
  void Tell(const Story& story) {
    SCOPED_TRACE(story.label);
    simstub::Reset();
    std::ofstream(home.Path("Korvane/KorPanels.log"), std::ios::trunc);
    if (story.given) story.given(*this);
    if (Create()) {
      if (story.when) story.when(*window);
      QuitSimulator();
    }
    EXPECT_THAT(Texts(), Contains(story.line));
    window.reset();
    platform::vhid::Reset();
  }
};

void QueryRemove(CMainDlg& window, const wchar_t* path) {
  const platform::DeviceBroadcast record{platform::kDbtDevTypDeviceInterface, path};
  window.OnDeviceChange(platform::kDbtDeviceQueryRemove, &record);
}

TEST_F(SessionLogStories, EachFindingOfTheWindowHasItsLine) {
  const auto plug = [](const wchar_t* path, std::uint16_t vendor, std::uint16_t product) {
    platform::vhid::Plug({path, vendor, product, 4, 0});
  };
  const std::vector<Story> stories = {
      {"another product of the maker",
       [&](SessionLogTest&) { plug(L"other-1", kVendor, 0x0B99); },
       {},
       "Declined a device at other-1 (vendor id 1C7A, product id 0B99): this version serves "
       "no panel of that product id."},
      {"a served model that cannot be opened",
       [&](SessionLogTest&) {
         plug(L"switch-2", kVendor, kSwitchModel);
         platform::vhid::InjectFault(L"switch-2", platform::vhid::Fault::Capabilities);
       },
       {},
       "Declined the switch panel at switch-2 (vendor id 1C7A, product id 0B23): it could not be "
       "opened for use."},
      {"a safe removal", [&](SessionLogTest&) { plug(L"switch-3", kVendor, kSwitchModel); },
       [](CMainDlg& window) { QueryRemove(window, L"switch-3"); },
       MatchesRegex("Detached the switch panel at switch-3 \\(Windows asked to remove it\\); it "
                    "stopped in [0-9]+ ms\\.")},
      {"a unit still there at the end",
       [&](SessionLogTest&) { plug(L"switch-4", kVendor, kSwitchModel); },
       {},
       MatchesRegex("Detached the switch panel at switch-4 \\(the plug-in stops\\); it stopped in "
                    "[0-9]+ ms\\.")},
      {"no simulator",
       [](SessionLogTest&) { ASSERT_TRUE(simstub::FailCall("SimConnect_Open", platform::kEFail)); },
       {},
       "The simulator refused the connection (result 0x80004005); it may not be running. The "
       "plug-in ends."},
      {"a refused subscription",
       [](SessionLogTest&) {
         ASSERT_TRUE(simstub::FailCall("SimConnect_SubscribeToSystemEvent", platform::kEFail, 2));
       },
       {},
       "The simulator refused to report its \"SimStop\" event (result 0x80004005). The plug-in "
       "ends."},
  };
  for (const Story& story : stories) Tell(story);
}

TEST_F(SessionLogTest, DevicesOfOtherMakersAreNotMentioned) {
  platform::vhid::Plug({L"keyboard", 0x046D, 0xC31C, 8, 0});
  ASSERT_TRUE(Create());
  QuitSimulator();
  EXPECT_THAT(Texts(), Not(Contains(HasSubstr("keyboard"))));
}

struct InstallRun {
  const char* label;
  std::function<bool(const installer::InstallSite&)> run;
  std::vector<std::string> lines;
};

// Install and uninstall name every file they wrote or kept, with its full path, and what
// became of this program's entry.
TEST_F(SessionLogTest, InstallAndUninstallNameEachFileAndTheEntrysFate) {
  home.MakeFolder("FSX");
  home.MakeFolder("Documents/Flight Simulator X Files");
  const std::string fsx = home.Path("FSX").string();
  const std::string ini =
      home.Path("Documents").string() + "\\Flight Simulator X Files\\SimConnect.ini";
  const installer::InstallSite site{home.Wide("FSX"), home.Wide("Documents"), L"C:\\KorPanels.exe"};
  const auto install = [](const installer::InstallSite& at) {
    return installer::InstallPlugin(at);
  };
  const auto uninstall = [](const installer::InstallSite& at) {
    return installer::UninstallPlugin(at.simulatorFolder, *at.ownPath);
  };
  const std::vector<InstallRun> runs = {
      {"first install",
       install,
       {"Wrote " + ini + ".", "Wrote " + fsx + "\\SimConnect.xml.",
        "Wrote the launch list " + fsx + "\\exe.xml: this program's entry added in a new file."}},
      {"second install",
       install,
       {"Kept " + ini + ": it is there already.",
        "Kept " + fsx + "\\SimConnect.xml: it is there already.",
        "Wrote the launch list " + fsx +
            "\\exe.xml: this program's entry kept as it was, enabled."}},
      {"uninstall",
       uninstall,
       {"Wrote the launch list " + fsx + "\\exe.xml: this program's entry removed."}},
      {"uninstall again",
       uninstall,
       {"Wrote the launch list " + fsx +
        "\\exe.xml: this program's entry was not there; nothing else changed."}},
  };
  for (const InstallRun& run : runs) {
    std::ofstream(home.Path("Korvane/KorPanels.log"), std::ios::trunc);
    EXPECT_TRUE(run.run(site)) << run.label;
    EXPECT_EQ(Texts(), run.lines) << run.label;
  }
}

}  // namespace
