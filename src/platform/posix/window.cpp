#include "platform/window.h"

#include <deque>
#include <mutex>
#include <utility>

#include "platform/messages.h"
#include "platform/posix/window_slot.h"

namespace platform {

namespace posix {

namespace {

// The stand-in simulator library posts through the handle with nothing but this.
void PostThroughAbi(KorPosixWindowAbi* window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t) {
  auto* slot = static_cast<WindowSlot*>(window);
  slot->queue->Post({slot, message, wParam, std::nullopt});
}

// Slots are never released, so that a handle stays safe to post to.
WindowSlot& NewSlot(WindowHandler& handler) {
  static std::mutex lock;
  static std::deque<WindowSlot> slots;
  std::lock_guard guard(lock);
  WindowSlot& slot = slots.emplace_back();
  slot.post = PostThroughAbi;
  slot.queue = ThisThreadQueue();
  slot.handler = &handler;
  return slot;
}

}  // namespace

WindowSlot& SlotOf(WindowHandle handle) {
  return *static_cast<WindowSlot*>(static_cast<KorPosixWindowAbi*>(handle));
}

void Dispatch(const QueuedMessage& message) {
  WindowHandler* handler = message.target ? message.target->handler : nullptr;
  if (!handler) return;
  switch (message.message) {
    case kWmDeviceChange: {
      if (!message.record) {
        handler->OnDeviceChange(static_cast<std::uint32_t>(message.wParam), nullptr);
        return;
      }
      const DeviceBroadcast record{message.record->deviceType, message.record->name};
      handler->OnDeviceChange(static_cast<std::uint32_t>(message.wParam), &record);
      return;
    }
    case kWmUser:
      handler->OnUserMessage();
      return;
    default:
      return;
  }
}

}  // namespace posix

struct Window::Impl {
  posix::WindowSlot* slot;
};

Window::Window() = default;

Window::~Window() {
  Destroy();
}

bool Window::Create(WindowHandler& handler, std::wstring_view) {
  impl_ = std::make_unique<Impl>(Impl{&posix::NewSlot(handler)});
  if (handler.OnCreate()) return true;
  // As on Windows, a refused window is destroyed before creation returns.
  Destroy();
  return false;
}

void Window::Destroy() {
  if (!impl_) return;
  // Cleared first: messages dispatched while the handler runs are dropped, and the
  // handler cannot destroy the window a second time.
  if (WindowHandler* handler = std::exchange(impl_->slot->handler, nullptr)) handler->OnDestroy();
  impl_.reset();
}

WindowHandle Window::Handle() const {
  return impl_ ? static_cast<KorPosixWindowAbi*>(impl_->slot) : nullptr;
}

}  // namespace platform
