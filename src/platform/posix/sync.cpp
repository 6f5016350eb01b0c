#include <atomic>
#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/posix/kernel.h"
#include "platform/posix/kernel_faults.h"

namespace platform::posix {

std::mutex& KernelLock() {
  static std::mutex lock;
  return lock;
}

std::condition_variable& KernelWake() {
  static std::condition_variable wake;
  return wake;
}

namespace {

std::atomic<bool> g_threadStartFails{false};
std::atomic<bool> g_eventCreationFails{false};

std::atomic<bool>& FaultFlag(KernelFault fault) {
  return fault == KernelFault::ThreadStart ? g_threadStartFails : g_eventCreationFails;
}

}  // namespace

void InjectKernelFault(KernelFault fault, bool active) {
  FaultFlag(fault) = active;
}

bool KernelFaulty(KernelFault fault) {
  return FaultFlag(fault);
}

}  // namespace platform::posix

namespace platform {

using posix::KernelLock;
using posix::KernelWake;

Event::Event() {
  if (!posix::KernelFaulty(posix::KernelFault::EventCreation)) impl_ = std::make_unique<Impl>();
}
Event::~Event() = default;

bool Event::IsValid() const {
  return impl_ != nullptr;
}

void Event::Signal() {
  if (!impl_) return;
  std::lock_guard lock(KernelLock());
  impl_->signalled = true;
  KernelWake().notify_all();
  if (impl_->reader) impl_->reader->notify_all();
}

bool Event::Wait(std::uint32_t timeoutMs) {
  posix::EndIfKilled();
  if (!impl_) return false;
  std::unique_lock lock(KernelLock());
  auto signalled = [this] { return impl_->signalled; };
  if (timeoutMs == kInfinite) {
    KernelWake().wait(lock, signalled);
  } else if (!KernelWake().wait_for(lock, std::chrono::milliseconds(timeoutMs), signalled)) {
    return false;
  }
  impl_->signalled = false;
  return true;
}

struct Thread::Impl {
  std::thread thread;
  bool finished = false;  // the body returned; guarded by KernelLock()
  bool killed = false;    // guarded by KernelLock()
  bool ended = false;     // killed and come to its end; guarded by KernelLock()
};

namespace {

constexpr auto kKilledThreadPatience = std::chrono::seconds(1);

thread_local Thread::Impl* t_ownThread = nullptr;

}  // namespace

void posix::EndIfKilled() {
  Thread::Impl* self = t_ownThread;
  if (!self) return;
  {
    std::lock_guard lock(KernelLock());
    if (!self->killed) return;
    self->ended = true;
    KernelWake().notify_all();
  }
  // Holding nothing of the kernel's, the thread stays here for the rest of the process, as
  // still as a killed one.
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

Thread::Thread() = default;
Thread::~Thread() {
  Terminate();
}

bool Thread::Start(std::function<void()> body) {
  if (posix::KernelFaulty(posix::KernelFault::ThreadStart)) return false;
  auto impl = std::make_unique<Impl>();
  Impl* raw = impl.get();
  try {
    raw->thread = std::thread([raw, body = std::move(body)] {
      t_ownThread = raw;
      body();
      std::lock_guard lock(KernelLock());
      raw->finished = true;
      KernelWake().notify_all();
    });
  } catch (const std::system_error&) {
    // Out of threads: a failed start, as CreateThread reports it.
    return false;
  }
  impl_ = std::move(impl);
  return true;
}

bool Thread::Join(std::uint32_t timeoutMs) {
  if (!impl_) return true;
  {
    std::unique_lock lock(KernelLock());
    auto finished = [this] { return impl_->finished; };
    if (!KernelWake().wait_for(lock, std::chrono::milliseconds(timeoutMs), finished)) return false;
  }
  impl_->thread.join();
  impl_.reset();
  return true;
}

void Thread::Terminate() {
  if (!impl_) return;
  bool returned = false;
  {
    std::unique_lock lock(KernelLock());
    impl_->killed = true;
    KernelWake().notify_all();
    KernelWake().wait_for(lock, kKilledThreadPatience,
                          [this] { return impl_->finished || impl_->ended; });
    returned = impl_->finished;
  }
  if (returned) {
    impl_->thread.join();
    impl_.reset();
    return;
  }
  // As on Windows, the killed thread's record is let go with it: it may still be in there.
  impl_->thread.detach();
  static_cast<void>(impl_.release());
}

void SleepMs(std::uint32_t ms) {
  posix::EndIfKilled();
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  posix::EndIfKilled();
}

}  // namespace platform
