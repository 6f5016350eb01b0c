#include "installer/Windows1252.h"

#include <algorithm>
#include <array>

namespace installer {
namespace {

// The characters of bytes 0x80 to 0x9F; zero where the code page leaves the byte unused.
// Every other byte stands for the character of the same value.
constexpr std::array<char32_t, 32> kHighControlBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};
constexpr char32_t kFirstBlockByte = 0x80;
constexpr char32_t kFirstLatin1Byte = 0xA0;
constexpr char32_t kLastByte = 0xFF;

std::optional<char> ByteOf(char32_t c) {
  if (c < kFirstBlockByte || (c >= kFirstLatin1Byte && c <= kLastByte)) {
    return static_cast<char>(c);
  }
  const auto found = std::find(kHighControlBlock.begin(), kHighControlBlock.end(), c);
  if (found == kHighControlBlock.end()) return std::nullopt;
  return static_cast<char>(kFirstBlockByte + (found - kHighControlBlock.begin()));
}

}  // namespace

std::optional<std::string> EncodeWindows1252(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const wchar_t c : text) {
    const auto byte = ByteOf(static_cast<char32_t>(c));
    if (!byte) return std::nullopt;
    bytes += *byte;
  }
  return bytes;
}

}  // namespace installer
