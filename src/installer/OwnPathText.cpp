#include "installer/OwnPathText.h"

#include "installer/Windows1252.h"
#include "platform/folders.h"

namespace installer {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;

std::optional<std::string> XmlText(std::wstring_view path) {
  const auto bytes = EncodeWindows1252(path);
  if (!bytes) return std::nullopt;
  std::string text;
  for (const char c : *bytes) {
    switch (c) {
      case '&':
        text += "&amp;";
        break;
      case '<':
        text += "&lt;";
        break;
      case '>':
        text += "&gt;";
        break;
      default:
        if (static_cast<unsigned char>(c) < kFirstPrintable) return std::nullopt;
        text += c;
    }
  }
  return text;
}

}  // namespace

std::optional<std::string> OwnPathText(std::wstring_view ownPath) {
  if (auto text = XmlText(ownPath)) return text;
  const auto shortPath = platform::ShortPathForm(ownPath);
  return shortPath ? XmlText(*shortPath) : std::nullopt;
}

}  // namespace installer
