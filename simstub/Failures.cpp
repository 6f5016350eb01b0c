#include "simstub/Failures.h"

#include "simstub/SimStub.h"

namespace simstub {

void Failures::Arm(EntryPoint entry, simconnect::HResult result, unsigned nth) {
  rules_[static_cast<std::size_t>(entry)] = Rule{result, nth, 0};
}

void Failures::Clear() {
  rules_ = {};
}

std::optional<simconnect::HResult> Failures::Check(EntryPoint entry) {
  auto& rule = rules_[static_cast<std::size_t>(entry)];
  if (!rule) return std::nullopt;
  ++rule->calls;
  if (rule->nth != kEveryCall && rule->calls != rule->nth) return std::nullopt;
  return rule->result;
}

}  // namespace simstub
