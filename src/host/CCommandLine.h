#pragma once

#include <string>
#include <vector>

// The plug-in's command line and the job it names: install into the simulator's launch
// list, uninstall, or run. Anything unrecognised installs and runs, so that a pilot who
// starts the program by hand gets a working set-up.
class CCommandLine {
 public:
  CCommandLine();
  // The split command line, program path first.
  explicit CCommandLine(std::vector<std::wstring> arguments);

  // Carries out the command; true when the plug-in is to run afterwards.
  bool RunCommandLine();

  bool InstallPlugin();
  bool UninstallPlugin();

 private:
  std::vector<std::wstring> m_arguments;
};
