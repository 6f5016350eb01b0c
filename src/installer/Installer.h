#pragma once

// Registering this program in the simulator's launch list, so that the simulator starts it
// with "-run", and taking it out again. Both work silently; the result only says whether
// the launch list was written, for callers that care.

#include <optional>
#include <string>
#include <string_view>

namespace installer {

// The simulator's per-user folder: "Microsoft\FSX" in the application-data folder.
std::optional<std::wstring> GetSimulatorFolder();

// Where install works; without a documents folder the client configuration is skipped,
// without the program's own path the launch list is left alone.
struct InstallSite {
  std::wstring simulatorFolder;
  std::optional<std::wstring> documentsFolder;
  std::optional<std::wstring> ownPath;
};

// Creates the missing connection configuration files, then enables this program's entry
// in the launch list (creating the list when there is none) and removes the stand-alone
// switch-panel program's first entry. Nothing at all when the simulator folder is unknown.
bool InstallPlugin();
bool InstallPlugin(const InstallSite& site);

// Removes this program's first entry from an existing launch list; the list is rewritten
// also when there was none. The configuration files stay.
bool UninstallPlugin();
bool UninstallPlugin(std::wstring_view simulatorFolder, std::wstring_view ownPath);

}  // namespace installer
