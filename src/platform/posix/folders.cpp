#include "platform/folders.h"

#include <unistd.h>

#include <array>
#include <cstdlib>

#include "platform/posix/native_path.h"

namespace platform {
namespace {

// The executable's path, as long as the Windows build accepts it.
using ModulePathBuffer = std::array<char, 4096>;

std::optional<std::wstring> UnderHome(std::wstring_view folder) {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return std::nullopt;
  return posix::WidePath(home) + std::wstring(folder);
}

}  // namespace

std::optional<std::wstring> ApplicationDataFolder() {
  return UnderHome(L"/AppData/Roaming");
}

std::optional<std::wstring> LocalApplicationDataFolder() {
  return UnderHome(L"/AppData/Local");
}

std::optional<std::wstring> DocumentsFolder() {
  return UnderHome(L"/Documents");
}

std::optional<std::wstring> OwnExecutablePath() {
  ModulePathBuffer path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return std::nullopt;
  return posix::WidePath(std::string_view(path.data(), static_cast<std::size_t>(length)));
}

std::optional<std::wstring> ShortPathForm(std::wstring_view) {
  return std::nullopt;
}

}  // namespace platform
