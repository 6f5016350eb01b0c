#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/messages.h"
#include "support/MainWindowFixture.h"
#include "support/ModelUnits.h"

// A thousand arrivals and removals of two units of each model through the real main
// window, in a fixed random order, while input reports and changed simulator records flow.

namespace {

constexpr int kCycles = 1000;
constexpr unsigned kSeed = 20261209;

std::size_t ThreadsOfThisProcess() {
  const std::filesystem::directory_iterator tasks("/proc/self/task");
  return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}

// The path as another spelling of it: letter case flipped at random places.
std::wstring Respelled(const std::wstring& path, std::mt19937& random) {
  std::wstring spelling = path;
  for (wchar_t& c : spelling) {
    if (random() % 2) c = static_cast<wchar_t>(std::towupper(c));
  }
  return spelling;
}

// Where in the simulator's event log a unit may have had events: from before it was
// plugged until its removal had been handled.
struct Window {
  std::size_t from;
  std::size_t until;
};

class HotPlugStorm : public MainWindowFixture {
 protected:
  std::size_t EventsSoFar() const { return simstub::TransmittedEventCount(); }

  // A unit whose arrival the window has not handled yet was never attached, and so has no
  // stopping output to show; an attached one receives it as its last report.
  void Remove(const ModelUnit& unit, bool orderly, bool attached) {
    if (orderly) {
      // The system asks first, while the unit still works: its stopping output lands.
      const std::size_t before = unit.Features().size();
      const platform::DeviceBroadcast record{platform::kDbtDevTypDeviceInterface, unit.path};
      window->OnDeviceChange(platform::kDbtDeviceQueryRemove, &record);
      EXPECT_EQ(unit.Handles(), 0) << unit.signature;
      const auto log = unit.Features();
      if (attached) {
        // The unit's opening output may still be landing from its reader, so the stopping
        // output is the last of at least one new report.
        ASSERT_GT(log.size(), before) << unit.signature;
        EXPECT_EQ(log.back(), unit.stopping) << unit.signature;
      } else {
        EXPECT_EQ(log.size(), before) << unit.signature;
      }
    }
    platform::vhid::Unplug(unit.path);
  }

  // Once the window has handled what waits, every unit unplugged so far is detached.
  void PumpAndClose(const std::vector<bool>& plugged, std::vector<bool>& attached,
                    std::map<std::size_t, std::vector<Window>>& windows) {
    Pump();
    attached = plugged;
    for (auto& [unit, spans] : windows) {
      if (!plugged[unit] && spans.back().until == 0) spans.back().until = EventsSoFar();
    }
  }

  void ChangeRecords(int cycle) {
    simstub::SetVariable("ELECTRICAL MASTER BATTERY", cycle % 2);
    simstub::SetVariable("COM ACTIVE FREQUENCY:1", 0x1800 + cycle % 0x100);
    simstub::SetVariable("AUTOPILOT ALTITUDE LOCK VAR", 100 * (cycle % 50));
    simstub::AdvanceFrames(1);
  }
};

TEST_F(HotPlugStorm, EveryUnitEndsClosedQuietAndShowingItsStoppingOutput) {
  // A sanitizer's runtime starts a thread of its own along with the first one a program
  // makes: that one is made before counting.
  std::thread([] {}).join();
  const std::size_t threadsBefore = ThreadsOfThisProcess();
  const std::vector<ModelUnit> units = AllModelUnits();
  std::mt19937 random(kSeed);
  ASSERT_TRUE(Create());
  simstub::FireSystemEvent("SimStart");
  Pump();

  std::vector<bool> plugged(units.size(), false);
  std::vector<bool> attached(units.size(), false);
  std::map<std::size_t, std::vector<Window>> windows;
  ReportFeeder feeder(units);
  for (int operation = 0; operation < 2 * kCycles; ++operation) {
    const std::size_t pick = random() % units.size();
    const ModelUnit& unit = units[pick];
    if (plugged[pick]) {
      Remove(unit, random() % 2 == 0, attached[pick]);
      attached[pick] = false;
    } else {
      windows[pick].push_back({EventsSoFar(), 0});
      unit.Plug(random() % 3 == 0 ? Respelled(unit.path, random) : unit.path);
    }
    plugged[pick] = !plugged[pick];
    ChangeRecords(operation);
    // Messages pile up now and then, so that arrivals and removals meet in the queue.
    if (random() % 4 != 0) PumpAndClose(plugged, attached, windows);
  }
  PumpAndClose(plugged, attached, windows);
  window.reset();
  feeder.Stop();

  const auto events = simstub::TransmittedEvents();
  for (std::size_t i = 0; i < units.size(); ++i) {
    const ModelUnit& unit = units[i];
    EXPECT_EQ(unit.Handles(), 0) << unit.signature;
    if (plugged[i]) {
      EXPECT_TRUE(unit.EndedWithStoppingOutput()) << unit.signature;
    }
    // Every event of the unit falls into one of the windows it was attached in.
    for (Window& window : windows[i]) {
      if (window.until == 0) window.until = events.size();
    }
    std::size_t outside = 0;
    for (std::size_t at = 0; at < events.size(); ++at) {
      if (events[at].name != unit.signature) continue;
      const bool inside = std::ranges::any_of(windows[i], [at](const Window& window) {
        return at >= window.from && at < window.until;
      });
      outside += inside ? 0 : 1;
    }
    EXPECT_EQ(outside, 0u) << unit.signature;
    EXPECT_GT(CountOf(events, unit.signature), 0u) << unit.signature;
  }
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
}

}  // namespace
