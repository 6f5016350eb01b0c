#include "platform/sync.h"

#include <windows.h>

#include "platform/win32/event_handle.h"

namespace platform {

struct Event::Impl {
  HANDLE handle;
};

Event::Event() {
  HANDLE handle = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (handle) impl_ = std::make_unique<Impl>(Impl{handle});
}

Event::~Event() {
  if (impl_) CloseHandle(impl_->handle);
}

bool Event::IsValid() const {
  return impl_ != nullptr;
}

void Event::Signal() {
  if (impl_) SetEvent(impl_->handle);
}

bool Event::Wait(std::uint32_t timeoutMs) {
  return impl_ && WaitForSingleObject(impl_->handle, timeoutMs) == WAIT_OBJECT_0;
}

HANDLE NativeHandle(Event& event) {
  return event.IsValid() ? event.impl().handle : nullptr;
}

// libstdc++ never destroys a std::mutex or std::recursive_mutex whose type has a static
// initialiser, and under winpthreads one that was contended holds an event handle and a
// heap record until destroyed: each unit's lock left both behind when the unit went. A
// critical section is given back whole by DeleteCriticalSection.
struct RecursiveLock::Impl {
  CRITICAL_SECTION section;
};

RecursiveLock::RecursiveLock() : impl_(std::make_unique<Impl>()) {
  InitializeCriticalSection(&impl_->section);
}

RecursiveLock::~RecursiveLock() {
  DeleteCriticalSection(&impl_->section);
}

void RecursiveLock::lock() {
  EnterCriticalSection(&impl_->section);
}

void RecursiveLock::unlock() {
  LeaveCriticalSection(&impl_->section);
}

struct Thread::Impl {
  HANDLE handle;
  std::function<void()> body;
};

namespace {

constexpr DWORD kKilledThreadPatienceMs = 1000;

DWORD WINAPI ThreadProc(LPVOID parameter) {
  static_cast<Thread::Impl*>(parameter)->body();
  return 0;
}

}  // namespace

Thread::Thread() = default;
Thread::~Thread() {
  Terminate();
}

bool Thread::Start(std::function<void()> body) {
  auto impl = std::make_unique<Impl>(Impl{nullptr, std::move(body)});
  impl->handle = CreateThread(nullptr, 0, ThreadProc, impl.get(), 0, nullptr);
  if (!impl->handle) return false;
  impl_ = std::move(impl);
  return true;
}

bool Thread::Join(std::uint32_t timeoutMs) {
  if (!impl_) return true;
  if (WaitForSingleObject(impl_->handle, timeoutMs) != WAIT_OBJECT_0) return false;
  CloseHandle(impl_->handle);
  impl_.reset();
  return true;
}

void Thread::Terminate() {
  if (!impl_) return;
  TerminateThread(impl_->handle, 0xFFFFFFFF);
  // The kill is only asked for when TerminateThread returns; what the thread used must not
  // be freed before it has ended, as far as a bounded wait can tell.
  WaitForSingleObject(impl_->handle, kKilledThreadPatienceMs);
  CloseHandle(impl_->handle);
  // The killed thread may still have been inside its body; its record is let go with it.
  static_cast<void>(impl_.release());
}

void SleepMs(std::uint32_t ms) {
  Sleep(ms);
}

}  // namespace platform
