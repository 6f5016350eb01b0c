#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// A mutex known by name to every program of the user's login session. The first object
// made with a name owns it until it is destroyed or its process ends, however that ends;
// each later one, in this process or another, finds it owned.
class SessionMutex {
 public:
  explicit SessionMutex(std::wstring_view name);
  ~SessionMutex();
  SessionMutex(const SessionMutex&) = delete;
  SessionMutex& operator=(const SessionMutex&) = delete;

  // False when another holder had the name first. A mutex the system could not make at
  // all counts as the first: nothing is known to hold it.
  bool IsFirst() const { return first_; }

 private:
  bool first_ = true;
  std::intptr_t held_ = -1;  // the system's handle or descriptor of an owned mutex
};

}  // namespace platform
