#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// How the simulator's client library was looked for, and where it was found.
struct LibrarySearch {
  enum class Way { PlainName, SideBySide, NotFound };
  Way way = Way::NotFound;
  // Side by side: the version that gave the library. Not found: each version tried, in order.
  std::vector<std::wstring> versions;
};

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
  const LibrarySearch& Search() const { return search_; }

 private:
  Library(void* module, LibrarySearch search) : module_(module), search_(std::move(search)) {}

  void* module_ = nullptr;
  LibrarySearch search_;
};

}  // namespace platform
