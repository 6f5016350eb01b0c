#pragma once

#include <windows.h>

#include "platform/sync.h"

namespace platform {

// A manual-reset event for one overlapped operation, closed when it goes.
class EventHandle {
 public:
  EventHandle() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~EventHandle() {
    if (handle_) CloseHandle(handle_);
  }
  EventHandle(const EventHandle&) = delete;
  EventHandle& operator=(const EventHandle&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The kernel object behind a platform event, for waits on several objects.
HANDLE NativeHandle(Event& event);

}  // namespace platform
