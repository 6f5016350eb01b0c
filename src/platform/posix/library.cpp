#include "platform/library.h"

#include <dlfcn.h>

#include <string>
#include <utility>

namespace platform {

namespace {

// "Name.dll" is looked up as "libName.so", the form the stand-ins are built in.
std::string SharedObjectName(std::wstring_view name) {
  std::string narrow(name.begin(), name.end());
  constexpr std::string_view kDll = ".dll";
  if (narrow.size() > kDll.size() && narrow.ends_with(kDll))
    narrow.resize(narrow.size() - kDll.size());
  return "lib" + narrow + ".so";
}

}  // namespace

// There is no side-by-side store here: the plain load is all there is.
Library Library::Simulator(std::wstring_view name) {
  void* module = dlopen(SharedObjectName(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  LibrarySearch search;
  search.way = module ? LibrarySearch::Way::PlainName : LibrarySearch::Way::NotFound;
  return Library(module, std::move(search));
}

Library::~Library() {
  if (module_) dlclose(module_);
}

void* Library::Find(const char* entryPoint) const {
  return module_ ? dlsym(module_, entryPoint) : nullptr;
}

}  // namespace platform
