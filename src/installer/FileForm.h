#pragma once

// The form of the text files written for the simulator: 8-bit text, one byte per character,
// every line feed stored as CR LF. In memory a line ends in a bare line feed; any other
// byte, a lone CR included, stays as it was.

#include <string>
#include <string_view>

namespace installer {

std::string ToFileForm(std::string_view text);
std::string FromFileForm(std::string_view bytes);

}  // namespace installer
