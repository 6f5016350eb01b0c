#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace installer {

// The program's path as it is written into the launch list, whose declared encoding is
// Windows-1252: XML text, with "&", "<" and ">" as entities. When the path has a character
// that code page lacks, its short form stands in for it. Nothing when neither can be
// written, or when the path holds a control character that would break its line.
std::optional<std::string> OwnPathText(std::wstring_view ownPath);

}  // namespace installer
