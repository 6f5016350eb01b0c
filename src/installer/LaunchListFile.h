#pragma once

#include <optional>
#include <string_view>

#include "installer/LaunchList.h"

namespace installer {

// Nothing when the file cannot be opened or read.
std::optional<LaunchList> ReadLaunchList(std::wstring_view path);

// Replaces the file whole, or leaves it as it was when that fails (then false).
bool WriteLaunchList(std::wstring_view path, const LaunchList& list);

}  // namespace installer
