#pragma once

// A child window of a dialog that paints itself from the program's bitmaps and keeps timers.

#include <cstdint>
#include <span>

#include "platform/canvas.h"

namespace platform {

// Called on the window's thread.
class ControlHandler {
 public:
  virtual void OnPaint(Canvas& canvas) = 0;
  // Any of the window's timers.
  virtual void OnTimer() = 0;

 protected:
  ~ControlHandler() = default;
};

// What the window paints with, made once with the window and kept for every paint.
struct ControlArtwork {
  std::span<const std::uint16_t> bitmapIds;
  std::span<const Rgb> colours;
};

class ControlWindow {
 public:
  virtual ~ControlWindow() = default;

  // False once the system destroyed the window (with its dialog).
  virtual bool Exists() const = 0;
  // Safe from any thread: the area is painted later on the window's own thread, without
  // being erased first.
  virtual void Invalidate(const Rect& area) = 0;
  virtual void SetTimer(std::uint32_t id, std::uint32_t periodMs) = 0;
  virtual void KillTimer(std::uint32_t id) = 0;
};

}  // namespace platform
