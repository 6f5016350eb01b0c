#pragma once

#include <array>
#include <optional>

#include "simlink/SimConnectApi.h"
#include "simstub/EntryPointNames.h"

namespace simstub {

// Results injected into entry points: one rule per entry point, replaced when set again.
class Failures {
 public:
  // nth counts calls from now on, starting at 1; kEveryCall fails them all.
  void Arm(EntryPoint entry, simconnect::HResult result, unsigned nth);
  void Clear();

  // Counts one call of the entry point; the result it must fail with, if any.
  std::optional<simconnect::HResult> Check(EntryPoint entry);

 private:
  struct Rule {
    simconnect::HResult result;
    unsigned nth;
    unsigned calls;
  };

  std::array<std::optional<Rule>, kEntryPointNames.size()> rules_;
};

}  // namespace simstub
