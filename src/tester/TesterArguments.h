#pragma once

#include <optional>
#include <span>
#include <string>

namespace tester {

// The panel named on the command line: the rest of the first argument, the program's own
// name included, that begins with "-l" in either case. It may be empty.
std::optional<std::wstring> PanelPathArgument(std::span<const std::wstring> arguments);

}  // namespace tester
