#pragma once

// The dialog and control window of the tester without a window system: what the picture
// asks of its window is recorded, and painting goes to a canvas that records its calls.

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/dialog.h"

namespace tester_fakes {

struct Drawn {
  std::uint16_t bitmap;  // 0 for an ellipse
  platform::Point at;
  platform::Rgb colour;
  friend bool operator==(const Drawn&, const Drawn&) = default;
};

class RecordingCanvas : public platform::Canvas {
 public:
  void DrawBitmap(std::uint16_t bitmapId, platform::Point at) override {
    drawn.push_back({bitmapId, at, {}});
  }
  void DrawEllipse(platform::Rgb colour, platform::Rect box) override {
    drawn.push_back({0, {(box.left + box.right) / 2, (box.top + box.bottom) / 2}, colour});
    boxes.push_back(box);
  }
  std::vector<Drawn> drawn;
  std::vector<platform::Rect> boxes;
};

// Shared with the test, which sees it after the picture let the window go.
struct WindowRecord {
  std::mutex lock;
  bool exists = true;
  std::vector<platform::Rect> invalidated;
  std::vector<std::uint32_t> timers;  // running now
  std::size_t artworkBitmaps = 0;

  std::vector<platform::Rect> TakeInvalidated() {
    std::lock_guard guard(lock);
    return std::exchange(invalidated, {});
  }
  bool TimerRuns(std::uint32_t id) {
    std::lock_guard guard(lock);
    return std::find(timers.begin(), timers.end(), id) != timers.end();
  }
};

class FakeControlWindow : public platform::ControlWindow {
 public:
  explicit FakeControlWindow(std::shared_ptr<WindowRecord> record) : m_record(std::move(record)) {}
  bool Exists() const override {
    std::lock_guard guard(m_record->lock);
    return m_record->exists;
  }
  void Invalidate(const platform::Rect& area) override {
    std::lock_guard guard(m_record->lock);
    m_record->invalidated.push_back(area);
  }
  void SetTimer(std::uint32_t id, std::uint32_t) override {
    std::lock_guard guard(m_record->lock);
    m_record->timers.push_back(id);
  }
  void KillTimer(std::uint32_t id) override {
    std::lock_guard guard(m_record->lock);
    std::erase(m_record->timers, id);
  }

 private:
  std::shared_ptr<WindowRecord> m_record;
};

class FakeDialog : public platform::Dialog {
 public:
  platform::WindowHandle Handle() const override { return nullptr; }
  void Centre() override { ++centred; }
  void SetIcons(std::uint16_t iconGroupId) override { icons = iconGroupId; }
  std::unique_ptr<platform::ControlWindow> ReplaceWithControl(
      int placeholderId, platform::ControlHandler& handler,
      const platform::ControlArtwork& artwork) override {
    placeholder = placeholderId;
    control = &handler;
    window->artworkBitmaps = artwork.bitmapIds.size();
    return std::make_unique<FakeControlWindow>(window);
  }
  void End(int value) override { result = value; }

  std::shared_ptr<WindowRecord> window = std::make_shared<WindowRecord>();
  platform::ControlHandler* control = nullptr;
  int placeholder = 0;
  int centred = 0;
  std::uint16_t icons = 0;
  int result = 0;
};

}  // namespace tester_fakes
