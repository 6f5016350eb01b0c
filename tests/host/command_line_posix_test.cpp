#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "host/CCommandLine.h"
#include "installer/OwnPathText.h"
#include "installer/temp_folder.h"
#include "platform/folders.h"
#include "platform/posix/process_arguments.h"

namespace {

using installer_test::Crlf;
using installer_test::TempFolder;
using Lines = std::vector<std::wstring>;

// The launch list of a user who disabled the plug-in's entry: install enables it again,
// uninstall removes it, and running leaves it alone.
std::string LaunchList(std::optional<std::string_view> ownEntryDisabled) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
      "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
      "\n";
  if (ownEntryDisabled) {
    text += "\t\t<Launch.Addon>\n\t\t\t<Name>Panels</Name>\n\t\t\t<Disabled>" +
            std::string(*ownEntryDisabled) + "</Disabled>\n\t\t\t<Path>" +
            *installer::OwnPathText(*platform::OwnExecutablePath()) +
            "</Path>\n\t\t\t<CommandLine>-run</CommandLine>\n\t\t</Launch.Addon>\n\n";
  }
  return Crlf(text + "</SimBase.Document>\n");
}

struct Command {
  const char* label;
  Lines commandLine;  // program path first; empty when the split failed
  Lines debugLines;
  bool runs;
  std::optional<std::string_view> ownEntryDisabledAfter;  // nothing: the entry is gone
};

// A scratch home, so that install and uninstall work on a launch list of the test's own.
class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    if (const char* home = std::getenv("HOME")) realHome_ = home;
    setenv("HOME", home.Path().c_str(), 1);
    home.MakeFolder("AppData/Roaming/Microsoft/FSX");
  }
  ~CommandLineTest() override {
    if (realHome_) {
      setenv("HOME", realHome_->c_str(), 1);
    } else {
      unsetenv("HOME");
    }
  }

  TempFolder home;

 private:
  std::optional<std::string> realHome_;
};

TEST_F(CommandLineTest, KeywordsInAnyCaseChooseTheJobAndAnythingElseInstallsAndRuns) {
  const Lines install{L"KorFlightSimX -install\n"};
  const Lines uninstall{L"KorFlightSimX -uninstall\n"};
  const Lines run{L"KorFlightSimX -run\n"};
  const std::vector<Command> commands = {
      {"-run", {L"KorPanels.exe", L"-run"}, run, true, "True"},
      {"-Run", {L"KorPanels.exe", L"-Run"}, run, true, "True"},
      {"-UNINSTALL", {L"KorPanels.exe", L"-UNINSTALL"}, uninstall, false, std::nullopt},
      {"-install", {L"KorPanels.exe", L"-install"}, install, false, "False"},
      {"/run", {L"KorPanels.exe", L"/run"}, {}, true, "False"},
      {"run", {L"KorPanels.exe", L"run"}, {}, true, "False"},
      {"-runner", {L"KorPanels.exe", L"-runner"}, {}, true, "False"},
      {"two arguments", {L"KorPanels.exe", L"-run", L"-install"}, {}, true, "False"},
      {"no argument", {L"KorPanels.exe"}, {}, true, "False"},
      {"failed split", {}, {}, true, "False"},
  };
  for (const Command& command : commands) {
    SCOPED_TRACE(command.label);
    home.Write("AppData/Roaming/Microsoft/FSX/exe.xml", LaunchList("True"));
    const std::size_t linesBefore = platform::posix::DebugOutputLines().size();

    EXPECT_EQ(CCommandLine(command.commandLine).RunCommandLine(), command.runs);
    const Lines lines = platform::posix::DebugOutputLines();
    EXPECT_EQ(Lines(lines.begin() + static_cast<std::ptrdiff_t>(linesBefore), lines.end()),
              command.debugLines);
    EXPECT_EQ(home.Read("AppData/Roaming/Microsoft/FSX/exe.xml"),
              LaunchList(command.ownEntryDisabledAfter));
  }
}

}  // namespace
