#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace installer {

// The text in Windows-1252, one byte per character; nothing when a character has no byte
// in that code page.
std::optional<std::string> EncodeWindows1252(std::wstring_view text);

}  // namespace installer
