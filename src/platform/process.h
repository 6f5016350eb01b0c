#pragma once

// What a program's entry needs from the system: its arguments, the debugger output
// stream, and the per-thread setup of COM and the common controls.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The program's arguments as the system splits them, the program path first; empty when
// the command line cannot be split.
std::vector<std::wstring> CommandLineArguments();

// One line to an attached debugger; nobody else sees it.
void DebugOutput(std::wstring_view text);

// COM and the common controls (bar classes) for the calling thread, for as long as the
// object lives.
class ProcessSetup {
 public:
  ProcessSetup();
  ~ProcessSetup();
  ProcessSetup(const ProcessSetup&) = delete;
  ProcessSetup& operator=(const ProcessSetup&) = delete;
};

}  // namespace platform
