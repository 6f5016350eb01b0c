#include "installer/XmlEntities.h"

#include <algorithm>
#include <array>

namespace installer {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;

struct Entity {
  char character;
  std::string_view text;
};

constexpr std::array kEntities = {Entity{'&', "&amp;"}, Entity{'<', "&lt;"}, Entity{'>', "&gt;"}};

}  // namespace

std::optional<std::string> XmlText(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
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
