// The shipped plug-in left running the way a pilot leaves it: units of every model come and
// go a thousand times while their reports flow and the simulator keeps sending records. A
// handle or memory leak per unplug that no short check would show adds up here. The plug-in
// is asked for its own handles and memory through the stand-in simulator loaded inside it.
// KOR_SOAK_CYCLES (default 1000) and KOR_SOAK_SECONDS (default 0): the run goes on until it
// has done both that many cycles and that many seconds.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Eventually.h"
#include "PluginUnderTest.h"
#include "UnitPeer.h"
#include "panels/AutopilotPanelReports.h"
#include "panels/PanelModels.h"
#include "panels/RadioPanelReports.h"
#include "panels/SwitchPanelReports.h"

namespace {

using namespace std::chrono_literals;
namespace switches = panels::switch_panel;
namespace radio = panels::radio_panel;
namespace autopilot = panels::autopilot_panel;
using vunits::Report;
using vunits::UnitPeer;
using vunits::UnitProfile;

constexpr std::uint32_t kSeed = 20261211;
// Each block of cycles holds as many orderly removals as unplugs, in shuffled order.
constexpr int kKindBlock = 100;
// Memory is compared from here on: what the first cycles allocate for good (heap arenas,
// the log file's buffers) is not a leak.
constexpr int kSettledCycle = 100;
constexpr std::size_t kHandleSlack = 10;
constexpr std::size_t kMemoryGrowthLimit = 256 * 1024;
constexpr auto kRecordPeriod = std::chrono::microseconds(1000000 / 30);
constexpr DWORD kReportGapMs = 10;

// What a unit of the soak sends, the event name only its reports cause, and what it shows
// once the plug-in stopped it.
struct Played {
  UnitProfile profile;
  Report pressed;
  Report released;
  std::string signature;
  Report stopped;
};

struct SoakUnit {
  Played played;
  std::wstring path;
  std::jthread sender;
  std::atomic<int> taken = 0;  // reports its reader read
  int events = 0;
};

Report Bytes(auto report) {
  return {report.begin(), report.end()};
}

Report SwitchReport(std::initializer_list<switches::InputBit> bits) {
  Report report(switches::kInputReportLength, 0);
  for (const auto bit : bits) report[bit.byte] |= bit.mask;
  return report;
}

std::vector<Played> SixUnits() {
  const UnitProfile switchUnit{L"", panels::kSwitchPanel.vendorId, panels::kSwitchPanel.productId,
                               switches::kInputReportLength, switches::kGearLightReportLength};
  const UnitProfile radioUnit{L"", panels::kRadioPanel.vendorId, panels::kRadioPanel.productId,
                              radio::kInputReportLength, radio::kDisplayReportLength};
  const UnitProfile autopilotUnit{L"", panels::kAutopilotPanel.vendorId,
                                  panels::kAutopilotPanel.productId, autopilot::kInputReportLength,
                                  autopilot::kDisplayReportLength};
  const auto named = [](UnitProfile profile, const wchar_t* label) {
    profile.label = label;
    return profile;
  };
  const Report lampsOff = Bytes(switches::MakeGearLightReport(switches::kAllLampsOff));
  const Report blank = Bytes(radio::kBlankReport);
  const Report reset = Bytes(autopilot::MakeResetReport());
  return {
      {named(switchUnit, L"soak-deice"), SwitchReport({switches::kDeIceOn}), SwitchReport({}),
       "ANTI_ICE_SET", lampsOff},
      {named(switchUnit, L"soak-cowl"), SwitchReport({switches::kCowlFlapsClosed}),
       SwitchReport({}), "COWLFLAP1_SET", lampsOff},
      // Upper selector at COM1, coarse step up; lower selector at NAV1, fine step up.
      {named(radioUnit, L"soak-com1"),
       {0, 0x01, 0, 0x04},
       {0, 0x01, 0, 0},
       "COM_RADIO_WHOLE_INC",
       blank},
      {named(radioUnit, L"soak-nav1"),
       {0, 0, 0x02, 0x10},
       {0, 0, 0x02, 0},
       "NAV1_RADIO_FRACT_INC",
       blank},
      {named(autopilotUnit, L"soak-hdg"),
       {0, 0, autopilot::kHdgButton.mask, 0},
       {0, 0, 0, 0},
       "AP_PANEL_HEADING_SET",
       reset},
      {named(autopilotUnit, L"soak-nav"),
       {0, 0, autopilot::kNavButton.mask, 0},
       {0, 0, 0, 0},
       "AP_NAV1_HOLD",
       reset},
  };
}

int Setting(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : fallback;
}

// The remote control serves one request at a time, and the records' thread shares it.
class Simulator {
 public:
  explicit Simulator(vunits::PluginUnderTest& plugin) : m_plugin(plugin) {}
  std::string operator()(std::string_view line) {
    std::lock_guard lock(m_lock);
    return m_plugin.Sim(line);
  }
  // The first number of an answer; 0 when it has none.
  std::size_t Figure(std::string_view line) {
    const std::string answer = (*this)(line);
    return std::strtoull(answer.c_str(), nullptr, 10);
  }

 private:
  vunits::PluginUnderTest& m_plugin;
  std::mutex m_lock;
};

// The names of the events transmitted since the last look.
std::vector<std::string> TakeEvents(Simulator& sim) {
  std::istringstream lines(sim("take events"));
  std::vector<std::string> names;
  std::string name, datum, group;
  while (lines >> name >> datum >> group) names.push_back(name);
  return names;
}

void StartSending(UnitPeer& peer, SoakUnit& unit) {
  unit.sender = std::jthread([&peer, &unit](std::stop_token stop) {
    while (!stop.stop_requested()) {
      for (const Report* report : {&unit.played.pressed, &unit.played.released}) {
        if (peer.Push(unit.path, *report, stop)) ++unit.taken;
        Sleep(kReportGapMs);
      }
    }
  });
}

void StopSending(SoakUnit& unit) {
  unit.sender.request_stop();
  unit.sender.join();
}

struct Sample {
  std::size_t handles;
  std::string byType;
  std::size_t memory;
};

Sample Measure(Simulator& sim) {
  std::string byType = sim("handles");
  return {static_cast<std::size_t>(std::strtoull(byType.c_str(), nullptr, 10)), byType,
          sim.Figure("memory")};
}

}  // namespace

TEST(PluginSoak, UnitsComeAndGoForLongWithoutLeavingHandlesMemoryOrLateEvents) {
  const int wantedCycles = Setting("KOR_SOAK_CYCLES", 1000);
  const auto wantedTime = std::chrono::seconds(Setting("KOR_SOAK_SECONDS", 0));
  UnitPeer peer;
  const std::vector<Played> played = SixUnits();
  std::vector<SoakUnit> units(played.size());
  for (std::size_t each = 0; each < units.size(); ++each) units[each].played = played[each];
  for (SoakUnit& unit : units) unit.path = peer.Plug(unit.played.profile);
  vunits::PluginUnderTest plugin;
  ASSERT_TRUE(plugin.Started());
  Simulator sim(plugin);
  for (SoakUnit& unit : units) ASSERT_TRUE(peer.WaitForReader(unit.path, vunits::kPatience));
  ASSERT_EQ(sim("system SimStart"), "ok");
  ASSERT_TRUE(vunits::Eventually(
      [&] { return sim.Figure("count SimConnect_RequestDataOnSimObject") == 3; }));

  // A changed record for one panel or another, about 30 times a second.
  std::atomic<int> frames = 0;
  std::jthread records([&](std::stop_token stop) {
    const std::array<const char*, 6> changes = {
        "set 1 GEAR CENTER POSITION",        "set 9029 COM ACTIVE FREQUENCY:2",
        "set 44 AUTOPILOT HEADING LOCK DIR", "set 0 GEAR CENTER POSITION",
        "set 9030 COM ACTIVE FREQUENCY:2",   "set 45 AUTOPILOT HEADING LOCK DIR"};
    auto next = std::chrono::steady_clock::now();
    while (!stop.stop_requested()) {
      sim(changes[frames % changes.size()]);
      sim("frames 1");
      ++frames;
      next += kRecordPeriod;
      std::this_thread::sleep_until(next);
    }
  });
  for (SoakUnit& unit : units) StartSending(peer, unit);
  ASSERT_TRUE(vunits::Eventually([&] {
    return std::all_of(units.begin(), units.end(), [](const SoakUnit& u) { return u.taken > 0; });
  }));
  const Sample atStart = Measure(sim);

  std::mt19937 random(kSeed);
  std::uniform_int_distribution<std::size_t> anyUnit(0, units.size() - 1);
  std::uniform_int_distribution<DWORD> gapMs(0, 20);
  std::vector<bool> orderlyKinds;
  Sample settled{};
  int cycles = 0, orderly = 0, stoppingOutputs = 0, lateEvents = 0;
  int heldWhenPulled = 0;  // unit handles the plug-in still held when a unit it let go went
  const auto tally = [&](const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      for (SoakUnit& unit : units) unit.events += name == unit.played.signature;
    }
  };
  const auto started = std::chrono::steady_clock::now();
  while (cycles < wantedCycles || std::chrono::steady_clock::now() - started < wantedTime) {
    if (orderlyKinds.empty()) {
      orderlyKinds.assign(kKindBlock, false);
      std::fill_n(orderlyKinds.begin(), kKindBlock / 2, true);
      std::shuffle(orderlyKinds.begin(), orderlyKinds.end(), random);
    }
    const bool safely = orderlyKinds.back();
    orderlyKinds.pop_back();
    SoakUnit& unit = units[anyUnit(random)];

    // Reports go on flowing while the unit goes: safely removed, it is let go while still
    // there and shows its stopped face; unplugged, its reads break before anyone is told.
    if (safely) {
      plugin.AskRemoval(unit.path);
      const auto features = peer.Features(unit.path);
      stoppingOutputs += !features.empty() && features.back() == unit.played.stopped;
      ++orderly;
    } else {
      peer.Unplug(unit.path);
      plugin.Announce(false, unit.path);
    }
    // From here on nothing of this unit may reach the simulator until it is back. Its
    // sender goes on offering reports for a while, which only a reader left behind takes.
    tally(TakeEvents(sim));
    Sleep(gapMs(random));
    StopSending(unit);
    if (safely) {
      const int broken = peer.Handles().broken;
      peer.Unplug(unit.path);
      heldWhenPulled += peer.Handles().broken - broken;
      plugin.Announce(false, unit.path);
    }
    unit.path = peer.Plug(unit.played.profile);
    plugin.Announce(true, unit.path);
    const auto meanwhile = TakeEvents(sim);
    lateEvents +=
        static_cast<int>(std::count(meanwhile.begin(), meanwhile.end(), unit.played.signature));
    tally(meanwhile);
    StartSending(peer, unit);
    sim("forget calls");
    if (++cycles == kSettledCycle) settled = Measure(sim);
  }
  const auto took = std::chrono::steady_clock::now() - started;
  // Every unit is attached again, as at the start: two handles each, the synchronous one
  // and the reader's.
  const bool settledHandles =
      vunits::Eventually([&] { return peer.Handles().open == static_cast<int>(2 * units.size()); });
  const Sample atEnd = Measure(sim);
  const UnitPeer::Tally beforeQuit = peer.Handles();
  for (SoakUnit& unit : units) StopSending(unit);
  records.request_stop();
  records.join();
  tally(TakeEvents(sim));
  const long exitCode = plugin.QuitAndWait();
  const bool allClosed = vunits::Eventually([&] { return peer.Handles().open == 0; });
  const UnitPeer::Tally afterQuit = peer.Handles();

  const double seconds = std::chrono::duration<double>(took).count();
  std::printf("soak: seed %u, %d cycles (%d orderly removals, %d unplugs) in %.0f s\n", kSeed,
              cycles, orderly, cycles - orderly, seconds);
  std::printf("soak: simulator frames with a changed record %.1f per second\n", frames / seconds);
  std::printf("soak: handles at start %zu, after cycle %d %zu, at the end %zu\n", atStart.handles,
              kSettledCycle, settled.handles, atEnd.handles);
  std::printf("soak: handles by type at start: %s\n", atStart.byType.c_str());
  std::printf("soak: handles by type at the end: %s\n", atEnd.byType.c_str());
  std::printf(
      "soak: private memory after cycle %d %zu KiB, at the end %zu KiB (%+lld KiB)\n",
      kSettledCycle, settled.memory / 1024, atEnd.memory / 1024,
      (static_cast<long long>(atEnd.memory) - static_cast<long long>(settled.memory)) / 1024);
  std::printf(
      "soak: unit handles opened %d, closed by the plug-in %d, broken by unplugs %d, "
      "open before the quit %d (attached units hold %zu), open after it %d\n",
      afterQuit.opened, afterQuit.closed, afterQuit.broken, beforeQuit.open, 2 * units.size(),
      afterQuit.open);
  std::printf("soak: unit handles still held when a safely removed unit went: %d\n",
              heldWhenPulled);
  std::printf("soak: late events %d; stopping outputs %d of %d orderly removals\n", lateEvents,
              stoppingOutputs, orderly);
  for (const SoakUnit& unit : units) {
    std::printf("soak: %ls: %d reports read, %d %s events\n", unit.played.profile.label.c_str(),
                unit.taken.load(), unit.events, unit.played.signature.c_str());
  }
  std::printf("soak: exit code %ld\n", exitCode);

  EXPECT_GE(cycles, kSettledCycle) << "too short a run to compare memory";
  EXPECT_TRUE(settledHandles) << beforeQuit.open << " unit handles open, not " << 2 * units.size();
  EXPECT_LE(atEnd.handles, atStart.handles + kHandleSlack) << atEnd.byType;
  EXPECT_LT(atEnd.memory, settled.memory + kMemoryGrowthLimit);
  EXPECT_EQ(heldWhenPulled, 0);
  EXPECT_EQ(lateEvents, 0);
  EXPECT_EQ(stoppingOutputs, orderly);
  for (const SoakUnit& unit : units) {
    EXPECT_GT(unit.events, 0) << "no report of " << unit.played.signature.c_str() << " got through";
  }
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(allClosed);
  EXPECT_EQ(afterQuit.opened, afterQuit.closed + afterQuit.broken);
}
