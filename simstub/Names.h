#pragma once

// The simulator matches variable, event and system-event names without regard to letter
// case ("com active frequency:1" and "COM ACTIVE FREQUENCY:1" are one variable).

#include <algorithm>
#include <string_view>

namespace simstub {

constexpr char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

struct NameLess {
  using is_transparent = void;
  constexpr bool operator()(std::string_view a, std::string_view b) const {
    return std::ranges::lexicographical_compare(a, b, {}, UpperAscii, UpperAscii);
  }
};

constexpr bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, {}, UpperAscii, UpperAscii);
}

}  // namespace simstub
