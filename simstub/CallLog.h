#pragma once

// Formats one entry-point call for the call log (format documented in SimStub.h).

#include <cstdint>
#include <string>
#include <string_view>

namespace simstub {

void AppendArgument(std::string& text, std::uint32_t value);
void AppendArgument(std::string& text, std::int32_t value);
void AppendArgument(std::string& text, float value);
void AppendArgument(std::string& text, const char* value);
void AppendArgument(std::string& text, const void* value);

template <typename... Args>
std::string FormatCall(std::string_view entryPoint, const Args&... args) {
  std::string text{entryPoint};
  text += '(';
  std::string_view separator;
  ((text += separator, AppendArgument(text, args), separator = ","), ...);
  text += ')';
  return text;
}

}  // namespace simstub
