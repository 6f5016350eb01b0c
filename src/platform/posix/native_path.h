#pragma once

// The stand-in's mapping between the wide paths of the portable code and file-system
// names: one byte per wide character, backslashes read as slashes.

#include <optional>
#include <string>
#include <string_view>

namespace platform::posix {

inline std::optional<std::string> NativePath(std::wstring_view path) {
  std::string native;
  native.reserve(path.size());
  for (const wchar_t c : path) {
    if (c == L'\0' || static_cast<unsigned long>(c) > 0xFF) return std::nullopt;
    native.push_back(c == L'\\' ? '/' : static_cast<char>(c));
  }
  return native;
}

inline std::wstring WidePath(std::string_view native) {
  std::wstring path;
  path.reserve(native.size());
  for (const char c : native) path.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return path;
}

}  // namespace platform::posix
