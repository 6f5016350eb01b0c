#include "installer/OwnPathText.h"

#include "installer/Windows1252.h"
#include "installer/XmlEntities.h"
#include "platform/folders.h"

namespace installer {
namespace {

std::optional<std::string> PathText(std::wstring_view path) {
  const auto bytes = EncodeWindows1252(path);
  return bytes ? XmlText(*bytes) : std::nullopt;
}

}  // namespace

std::optional<std::string> OwnPathText(std::wstring_view ownPath) {
  if (auto text = PathText(ownPath)) return text;
  const auto shortPath = platform::ShortPathForm(ownPath);
  return shortPath ? PathText(*shortPath) : std::nullopt;
}

}  // namespace installer
