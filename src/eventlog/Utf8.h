#pragma once

#include <string>
#include <string_view>

namespace eventlog {

// The wide text in UTF-8: UTF-16 where wchar_t has 16 bits (Windows), UTF-32 elsewhere. A
// lone surrogate or a value beyond Unicode becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

}  // namespace eventlog
