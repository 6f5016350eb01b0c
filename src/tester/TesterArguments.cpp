#include "tester/TesterArguments.h"

#include <algorithm>

namespace tester {

std::optional<std::wstring> PanelPathArgument(std::span<const std::wstring> arguments) {
  const auto named = std::ranges::find_if(arguments, [](const std::wstring& argument) {
    return argument.size() >= 2 && argument[0] == L'-' &&
           (argument[1] == L'l' || argument[1] == L'L');
  });
  if (named == arguments.end()) return std::nullopt;
  return named->substr(2);
}

}  // namespace tester
