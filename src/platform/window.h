#pragma once

// A hidden top-level window and the message loop of the thread that created it. The
// window is never shown: it exists to receive posted messages and device notifications.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace platform {

// What the window system passes in a handle: the window's identity for other libraries.
using WindowHandle = void*;

// The record carried by a device-change message.
struct DeviceBroadcast {
  std::uint32_t deviceType;
  // The device path, for a device-interface record; valid only during the call.
  std::wstring_view name;
};

// The owner's handlers, called on the window's thread. Every other message gets the
// system's default handling.
class WindowHandler {
 public:
  // False refuses creation: the window is then destroyed at once.
  virtual bool OnCreate() = 0;
  virtual void OnDestroy() = 0;
  // `record` is null when the message carries none.
  virtual void OnDeviceChange(std::uint32_t event, const DeviceBroadcast* record) = 0;
  // The first private message number (kWmUser).
  virtual void OnUserMessage() = 0;

 protected:
  ~WindowHandler() = default;
};

class Window {
 public:
  Window();
  // Destroys the window if it still exists.
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the hidden pop-up window on this thread; the handler's OnCreate runs before
  // this returns and can already use Handle(). False when creation failed or was refused.
  bool Create(WindowHandler& handler, std::wstring_view title);
  // The handler's OnDestroy runs before this returns; nothing happens once destroyed.
  void Destroy();
  // Null before creation and after destruction.
  WindowHandle Handle() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Asks this thread's message loop to end with the exit code once the messages already
// posted have been handled.
void PostQuit(int exitCode);

// Dispatches this thread's messages until the quit message; returns its exit code.
int RunMessageLoop();

// Dispatches the messages waiting now without blocking; the exit code when the quit
// message was among them (the rest stay queued).
std::optional<int> DispatchPendingMessages();

}  // namespace platform
