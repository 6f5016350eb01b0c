#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vunits {

// The folder of this program, with its closing separator: the programs under test sit
// beside it.
inline std::wstring OwnFolder() {
  std::vector<wchar_t> path(MAX_PATH * 4);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring own(path.data(), length);
  return own.substr(0, own.find_last_of(L"\\/") + 1);
}

}  // namespace vunits
