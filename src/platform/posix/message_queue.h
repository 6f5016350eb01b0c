#pragma once

// The stand-in's per-thread message queue: messages posted to a window wait in the queue
// of the thread that created it, from whichever thread they were posted.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace platform::posix {

struct WindowSlot;

// The device-change record a posted message carries.
struct QueuedRecord {
  std::uint32_t deviceType;
  std::wstring name;
};

struct QueuedMessage {
  WindowSlot* target;  // null for the quit message
  std::uint32_t message;
  std::uintptr_t wParam;
  std::optional<QueuedRecord> record;
};

class MessageQueue {
 public:
  void Post(QueuedMessage message);
  // The quit message comes out only once no other message is waiting.
  void PostQuit(int exitCode);
  // The next message, waiting for one when `wait`; null when none waits and `wait` is false.
  std::optional<QueuedMessage> Take(bool wait);

 private:
  std::mutex lock_;
  std::condition_variable posted_;
  std::deque<QueuedMessage> messages_;
  std::optional<int> quit_;
};

// The calling thread's queue, made on first use.
const std::shared_ptr<MessageQueue>& ThisThreadQueue();

}  // namespace platform::posix
