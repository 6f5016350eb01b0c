#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tester/TesterArguments.h"

namespace {

struct ArgumentCase {
  const char* story;
  std::vector<std::wstring> arguments;
  std::optional<std::wstring> path;
};

TEST(TesterArguments, TheFirstArgumentBeginningWithDashLInEitherCaseNamesThePanel) {
  const std::vector<ArgumentCase> cases = {
      {"no arguments at all (the command line could not be split)", {}, std::nullopt},
      {"the program alone", {L"KorSwitchTest.exe"}, std::nullopt},
      {"lower case", {L"KorSwitchTest.exe", L"-l\\\\?\\hid#vid_1c7a"}, L"\\\\?\\hid#vid_1c7a"},
      {"upper case", {L"KorSwitchTest.exe", L"-L\\\\?\\HID#X"}, L"\\\\?\\HID#X"},
      {"a bare -l names an empty path", {L"KorSwitchTest.exe", L"-l"}, L""},
      {"the first one wins", {L"x.exe", L"-other", L"-lfirst", L"-Lsecond"}, L"first"},
      {"the program's own name is looked at too", {L"-lname.exe"}, L"name.exe"},
      {"a lone dash or another letter is no panel", {L"x.exe", L"-", L"-k", L"l-x"}, std::nullopt},
  };
  for (const auto& each : cases) {
    EXPECT_EQ(tester::PanelPathArgument(each.arguments), each.path) << each.story;
  }
}

}  // namespace
