#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace platform {

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

// Auto-reset event, created not signalled: one Signal releases one waiter.
class Event {
 public:
  Event();
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  bool IsValid() const;
  void Signal();
  // True when the event was signalled within the time-out (and is reset by the wait).
  bool Wait(std::uint32_t timeoutMs);

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// A lock that the thread holding it may take again, for std::unique_lock and its kin. It
// gives back everything it used when it goes; std::recursive_mutex does not under the
// toolchain's Windows threads runtime, which is why Windows has one of its own (see
// win32/sync.cpp). Elsewhere the standard one does, and stays inline: a unit's input
// report takes the lock for every value it reads or writes.
#ifdef _WIN32
class RecursiveLock {
 public:
  RecursiveLock();
  ~RecursiveLock();
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void lock();
  void unlock();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};
#else
using RecursiveLock = std::recursive_mutex;
#endif

// A thread started at once with its body; joined with a bound, terminated when it overruns it.
class Thread {
 public:
  Thread();
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // False when the thread could not be created.
  bool Start(std::function<void()> body);
  bool IsRunning() const { return impl_ != nullptr; }
  // Waits for the body to end; false when it did not end within the time-out.
  bool Join(std::uint32_t timeoutMs);
  // Kills a thread that did not end in time, waits up to a second for it to have ended,
  // and releases the handle. The killed body's own objects are never destroyed.
  void Terminate();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

void SleepMs(std::uint32_t ms);

}  // namespace platform
