// Command lines of any content: the plug-in chooses between install, uninstall and run,
// and carries the install or uninstall out, in a scratch home of its own. Only a single
// "-install" or "-uninstall", in any letter case, keeps it from running.
//
// Input: the arguments after the program path, separated by zero bytes; each byte becomes
// the wide character of the same value, as the arguments of a Linux program do.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "host/CCommandLine.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsKeyword(std::wstring argument, std::wstring_view keyword) {
  for (wchar_t& c : argument) c = static_cast<wchar_t>(std::towlower(c));
  return argument == keyword;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const auto home = std::filesystem::temp_directory_path() /
                    ("kor-fuzz-home-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(home / "AppData/Roaming/Microsoft/FSX");
  setenv("HOME", home.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> arguments{L"KorPanels.exe", L""};
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back().push_back(data[i]);
    }
  }
  if (size == 0) arguments.pop_back();
  const bool endsAfterCommand = arguments.size() == 2 && (IsKeyword(arguments[1], L"-install") ||
                                                          IsKeyword(arguments[1], L"-uninstall"));
  CCommandLine commandLine(arguments);
  Require(commandLine.RunCommandLine() != endsAfterCommand);
  return 0;
}
