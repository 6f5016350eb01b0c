#include "platform/folders.h"

#include <windows.h>
// The shell declarations need the base Windows ones first.
#include <shlobj.h>

#include <array>

namespace platform {
namespace {

// The shell folders come as at most this many characters, terminator included.
using FolderBuffer = std::array<wchar_t, 1024>;
// The executable's path, terminator included; a longer one counts as unavailable.
using ModulePathBuffer = std::array<wchar_t, 4096>;

}  // namespace

std::optional<std::wstring> ApplicationDataFolder() {
  FolderBuffer folder{};
  if (!SHGetSpecialFolderPathW(nullptr, folder.data(), CSIDL_APPDATA, FALSE)) return std::nullopt;
  return std::wstring(folder.data());
}

std::optional<std::wstring> LocalApplicationDataFolder() {
  FolderBuffer folder{};
  if (!SHGetSpecialFolderPathW(nullptr, folder.data(), CSIDL_LOCAL_APPDATA, FALSE)) {
    return std::nullopt;
  }
  return std::wstring(folder.data());
}

std::optional<std::wstring> DocumentsFolder() {
  FolderBuffer folder{};
  if (FAILED(
          SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder.data()))) {
    return std::nullopt;
  }
  return std::wstring(folder.data());
}

std::optional<std::wstring> OwnExecutablePath() {
  ModulePathBuffer path{};
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return std::nullopt;
  return std::wstring(path.data(), length);
}

std::optional<std::wstring> ShortPathForm(std::wstring_view path) {
  const std::wstring longPath(path);
  const DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring shortPath(needed, L'\0');
  const DWORD length = GetShortPathNameW(longPath.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  shortPath.resize(length);
  return shortPath;
}

}  // namespace platform
