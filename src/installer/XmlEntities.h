#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace installer {

// Bytes as XML text on one line: "&", "<" and ">" as entities. Nothing when the bytes hold
// a control character, which would break the line they stand on.
std::optional<std::string> XmlText(std::string_view bytes);

// The path text with its entities turned back into the characters they stand for: the
// path as a writer that does not escape puts it into the launch list.
std::string PlainPathText(std::string_view pathText);

}  // namespace installer
