#include "installer/OwnPathText.h"

#include <algorithm>
#include <array>

#include "installer/Windows1252.h"
#include "platform/folders.h"

namespace installer {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;

struct Entity {
  char character;
  std::string_view text;
};

constexpr std::array kEntities = {Entity{'&', "&amp;"}, Entity{'<', "&lt;"}, Entity{'>', "&gt;"}};

std::optional<std::string> XmlText(std::wstring_view path) {
  const auto bytes = EncodeWindows1252(path);
  if (!bytes) return std::nullopt;
  std::string text;
  for (const char c : *bytes) {
    const auto entity = std::ranges::find(kEntities, c, &Entity::character);
    if (entity != kEntities.end()) {
      text += entity->text;
    } else if (static_cast<unsigned char>(c) < kFirstPrintable) {
      return std::nullopt;
    } else {
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

std::string PlainPathText(std::string_view pathText) {
  std::string plain;
  while (!pathText.empty()) {
    const auto entity = std::ranges::find_if(
        kEntities, [pathText](const Entity& e) { return pathText.starts_with(e.text); });
    const bool isEntity = entity != kEntities.end();
    plain += isEntity ? entity->character : pathText.front();
    pathText.remove_prefix(isEntity ? entity->text.size() : 1);
  }
  return plain;
}

}  // namespace installer
