#pragma once

#include <string>

namespace simstub {

// What the process this library is loaded into holds, asked from inside it, for checks that
// run the plug-in for hours and look for leaks. Each answer is a remote-control line.
// The handles the process holds: the count, then "TYPE:COUNT" per kind of object.
std::string HandleFigures();
// The bytes of private memory committed in the process's address space.
std::string PrivateMemoryFigure();

}  // namespace simstub
