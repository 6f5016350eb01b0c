#include "simstub/CallLog.h"

#include <array>
#include <charconv>

namespace simstub {
namespace {

constexpr std::string_view kNull = "null";

template <typename Number>
void AppendNumber(std::string& text, Number value, auto... format) {
  std::array<char, 32> digits{};
  const auto end =
      std::to_chars(digits.data(), digits.data() + digits.size(), value, format...).ptr;
  text.append(digits.data(), end);
}

}  // namespace

void AppendArgument(std::string& text, std::uint32_t value) {
  AppendNumber(text, value);
}

void AppendArgument(std::string& text, std::int32_t value) {
  AppendNumber(text, value);
}

void AppendArgument(std::string& text, float value) {
  AppendNumber(text, value);
}

void AppendArgument(std::string& text, const char* value) {
  if (value == nullptr) {
    text += kNull;
    return;
  }
  text += '"';
  text += value;
  text += '"';
}

void AppendArgument(std::string& text, const void* value) {
  if (value == nullptr) {
    text += kNull;
    return;
  }
  text += "0x";
  AppendNumber(text, reinterpret_cast<std::uintptr_t>(value), 16);
}

}  // namespace simstub
