#include "simstub/ProcessFigures.h"

namespace simstub {

// Linux tests run the plug-in in their own process and have no remote control to ask.
std::string HandleFigures() {
  return "error: counted only under Windows";
}

std::string PrivateMemoryFigure() {
  return HandleFigures();
}

}  // namespace simstub
