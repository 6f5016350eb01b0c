// The hardware-free demo: the plug-in's real main window flies a short scripted flight
// with virtual switch, autopilot and radio panels and the stand-in simulator, and prints
// what happens, and where the plug-in's log of it went.

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "eventlog/ProcessLog.h"
#include "platform/folders.h"
#include "platform/posix/native_path.h"
#include "tools/demo/DemoFlight.h"

namespace {

// The stand-in profile gets the local application-data folder every Windows profile has;
// the plug-in itself creates only its own folder in it.
std::optional<std::wstring> LocalApplicationData() {
  const auto folder = platform::LocalApplicationDataFolder();
  const auto native = folder ? platform::posix::NativePath(*folder) : std::nullopt;
  std::error_code ignored;
  if (native) std::filesystem::create_directories(*native, ignored);
  return folder;
}

}  // namespace

int main() {
  bool matched = false;
  std::optional<std::wstring> logPath;
  {
    const eventlog::ProcessLog log(LocalApplicationData());
    logPath = log.Path();
    matched = demo::RunDemoFlight(std::cout);
  }
  const auto native = logPath ? platform::posix::NativePath(*logPath) : std::nullopt;
  std::cout << "\nThe plug-in's log of this flight: "
            << (native && std::filesystem::exists(*native) ? *native
                                                           : "none, it could not be written")
            << "\n";
  return matched ? 0 : 1;
}
