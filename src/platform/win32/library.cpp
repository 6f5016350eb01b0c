#include "platform/library.h"

#include <windows.h>

#include <string>

#include "platform/folders.h"
#include "platform/win32/simulator_manifests.h"

namespace platform {
namespace {

// An activation context made from one of this program's manifest resources, active on the
// calling thread for as long as the object lives. A manifest naming an assembly that is not
// installed gives no context at all.
class ActiveManifest {
 public:
  explicit ActiveManifest(WORD resourceId) {
    // The documented form for a resource names the module twice: by handle and by path.
    const std::wstring source = OwnExecutablePath().value_or(std::wstring());
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = source.empty() ? nullptr : source.c_str();
    request.hModule = GetModuleHandleW(nullptr);
    request.lpResourceName = MAKEINTRESOURCEW(resourceId);
    context_ = CreateActCtxW(&request);
    if (context_ == INVALID_HANDLE_VALUE) return;
    if (!ActivateActCtx(context_, &cookie_)) {
      ReleaseActCtx(context_);
      context_ = INVALID_HANDLE_VALUE;
    }
  }
  ~ActiveManifest() {
    if (context_ == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, cookie_);
    ReleaseActCtx(context_);
  }
  ActiveManifest(const ActiveManifest&) = delete;
  ActiveManifest& operator=(const ActiveManifest&) = delete;

  bool IsActive() const { return context_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

bool HasManifest(WORD resourceId) {
  // RT_MANIFEST in its wide form, which the headers lack.
  return FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(24)) != nullptr;
}

// The version of the simulator's assembly that the manifest names, as its text says it.
std::wstring ManifestVersion(WORD resourceId) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(24));
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes) return L"?";
  const std::string_view text(bytes, SizeofResource(nullptr, resource));
  constexpr std::string_view kAssembly = "name='Microsoft.FlightSimulator.SimConnect'";
  constexpr std::string_view kVersion = "version='";
  const auto assembly = text.find(kAssembly);
  const auto begin = assembly == std::string_view::npos ? assembly : text.find(kVersion, assembly);
  const auto end =
      begin == std::string_view::npos ? begin : text.find('\'', begin + kVersion.size());
  if (end == std::string_view::npos) return L"?";
  const std::string_view version =
      text.substr(begin + kVersion.size(), end - begin - kVersion.size());
  return std::wstring(version.begin(), version.end());
}

// A library loaded inside an activation context stays loaded once the context is gone.
HMODULE LoadSimulatorModule(const std::wstring& name, LibrarySearch& search) {
  if (HMODULE module = LoadLibraryW(name.c_str())) {
    search.way = LibrarySearch::Way::PlainName;
    return module;
  }
  for (WORD id = KOR_FIRST_SIMULATOR_MANIFEST; HasManifest(id); ++id) {
    search.versions.push_back(ManifestVersion(id));
    const ActiveManifest context(id);
    if (!context.IsActive()) continue;
    if (HMODULE module = LoadLibraryW(name.c_str())) {
      search.way = LibrarySearch::Way::SideBySide;
      search.versions = {search.versions.back()};
      return module;
    }
  }
  return nullptr;
}

}  // namespace

Library Library::Simulator(std::wstring_view name) {
  LibrarySearch search;
  HMODULE module = LoadSimulatorModule(std::wstring(name), search);
  return Library(static_cast<void*>(module), std::move(search));
}

Library::~Library() {
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

void* Library::Find(const char* entryPoint) const {
  if (!module_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), entryPoint));
}

}  // namespace platform
