#include "platform/messages.h"
#include "platform/posix/message_pump.h"
#include "platform/posix/window_slot.h"
#include "platform/window.h"

namespace platform {

namespace {

// The quit message's code, or nothing after dispatching any other message.
std::optional<int> Handle(const posix::QueuedMessage& message) {
  if (message.message == kWmQuit) return static_cast<int>(message.wParam);
  posix::Dispatch(message);
  return std::nullopt;
}

}  // namespace

void PostQuit(int exitCode) {
  posix::ThisThreadQueue()->PostQuit(exitCode);
}

int RunMessageLoop() {
  for (;;) {
    if (auto exitCode = Handle(*posix::ThisThreadQueue()->Take(true))) return *exitCode;
  }
}

std::optional<int> posix::DispatchPendingMessages() {
  while (auto message = ThisThreadQueue()->Take(false)) {
    if (auto exitCode = Handle(*message)) return exitCode;
  }
  return std::nullopt;
}

}  // namespace platform
