#include "platform/posix/message_queue.h"

#include <utility>

#include "platform/messages.h"

namespace platform::posix {

// The wake-up is given under the lock: a poster on another thread is then done with the
// queue once the owner has taken the message, and the owner may destroy the queue.
void MessageQueue::Post(QueuedMessage message) {
  std::lock_guard lock(lock_);
  messages_.push_back(std::move(message));
  posted_.notify_all();
}

void MessageQueue::PostQuit(int exitCode) {
  std::lock_guard lock(lock_);
  quit_ = exitCode;
  posted_.notify_all();
}

std::optional<QueuedMessage> MessageQueue::Take(bool wait) {
  std::unique_lock lock(lock_);
  if (wait) posted_.wait(lock, [this] { return !messages_.empty() || quit_.has_value(); });
  if (!messages_.empty()) {
    QueuedMessage message = std::move(messages_.front());
    messages_.pop_front();
    return message;
  }
  if (quit_) {
    const int exitCode = *std::exchange(quit_, std::nullopt);
    return QueuedMessage{nullptr, kWmQuit, static_cast<std::uintptr_t>(exitCode), std::nullopt};
  }
  return std::nullopt;
}

const std::shared_ptr<MessageQueue>& ThisThreadQueue() {
  thread_local const auto queue = std::make_shared<MessageQueue>();
  return queue;
}

}  // namespace platform::posix
