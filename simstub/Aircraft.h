#pragma once

#include <map>
#include <string>
#include <string_view>

#include "simlink/SimConnectApi.h"
#include "simstub/Names.h"

namespace simstub {

// The user's aircraft: named variables, the effects of client events on them, and what
// changes from one simulation frame to the next.
class Aircraft {
 public:
  Aircraft();

  double Get(std::string_view variable) const;
  void Set(std::string_view variable, double value);

  void Apply(std::string_view event, simconnect::Dword datum);
  void AdvanceFrame();

 private:
  std::map<std::string, double, NameLess> variables_;
};

}  // namespace simstub
