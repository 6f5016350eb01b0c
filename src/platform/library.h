#pragma once

#include <string_view>

namespace platform {

// A run-time loaded library. Dropping the object unloads it.
class Library {
 public:
  explicit Library(std::wstring_view name);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool IsLoaded() const { return module_ != nullptr; }
  // Address of an exported entry point by its exact name, or null.
  void* Find(const char* entryPoint) const;

 private:
  void* module_ = nullptr;
};

}  // namespace platform
