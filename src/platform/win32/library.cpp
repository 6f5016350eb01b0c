#include "platform/library.h"

#include <windows.h>

#include <string>

namespace platform {

Library::Library(std::wstring_view name) : module_(LoadLibraryW(std::wstring(name).c_str())) {}

Library::~Library() {
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

void* Library::Find(const char* entryPoint) const {
  if (!module_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), entryPoint));
}

}  // namespace platform
