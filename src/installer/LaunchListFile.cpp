#include "installer/LaunchListFile.h"

#include "platform/files.h"

namespace installer {

std::optional<LaunchList> ReadLaunchList(std::wstring_view path) {
  const auto bytes = platform::ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return ParseLaunchList(*bytes);
}

bool WriteLaunchList(std::wstring_view path, const LaunchList& list) {
  return platform::WriteFileWhole(path, LaunchListBytes(list), platform::IfExists::Replace);
}

}  // namespace installer
