#pragma once

// What a stand-in window handle points at. A slot outlives its window, as a handle value
// outlives a window on Windows: a message posted to a window that is gone is dropped.

#include <memory>

#include "platform/posix/message_queue.h"
#include "platform/posix/window_abi.h"
#include "platform/window.h"

namespace platform::posix {

struct WindowSlot : KorPosixWindowAbi {
  std::shared_ptr<MessageQueue> queue;  // of the thread that created the window
  // Null once the window is destroyed; used only on the window's thread.
  WindowHandler* handler = nullptr;
};

WindowSlot& SlotOf(WindowHandle handle);

// Hands a message taken from a queue to its window's handler.
void Dispatch(const QueuedMessage& message);

}  // namespace platform::posix
