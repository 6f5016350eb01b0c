#pragma once

// Linux programs hand their arguments over from main(), since there is no command line
// to ask for afterwards.

#include <string>
#include <vector>

namespace platform::posix {

void SetCommandLineArguments(int argc, char** argv);

// What was written to the debugger output stream, for tests; there is no debugger here.
std::vector<std::wstring> DebugOutputLines();

}  // namespace platform::posix
