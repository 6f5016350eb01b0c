#pragma once

#include <string_view>

namespace platform {

// A run-time loaded library. Dropping the object unloads it.
class Library {
 public:
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // The simulator's client library, by a plain load of `name` first. On Windows, where that
  // finds nothing, the simulator's side-by-side assembly is tried in each version this
  // program names in its manifest resources (win32/simulator_manifests.rc), newest first.
  // Nothing of it is a load-time dependency: a program without it still starts.
  static Library Simulator(std::wstring_view name);

  bool IsLoaded() const { return module_ != nullptr; }
  // Address of an exported entry point by its exact name, or null.
  void* Find(const char* entryPoint) const;

 private:
  explicit Library(void* module) : module_(module) {}

  void* module_ = nullptr;
};

}  // namespace platform
