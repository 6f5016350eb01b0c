// The shipped plug-in's cost on the Windows path, with its units played at the
// system-library boundary:
// - report-to-event latency, from the peer handing a report to a unit's pipe to the
//   stand-in simulator taking the TransmitClientEvent that follows, with one unit and with
//   two of each model; both processes read the steady clock, which here is the machine's
//   performance counter;
// - the same path to a plain reader of this program's own, as the floor the pipe sets;
// - six silent units: this program says so in IDLE_READY and waits for IDLE_DONE while the
//   script beside it measures the plug-in's process from /proc.
// Usage: kor_plugin_bench.exe REPORTS IDLE_READY IDLE_DONE

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Eventually.h"
#include "PluginUnderTest.h"
#include "UnitPeer.h"
#include "bench/FigureTable.h"
#include "panels/AutopilotPanelReports.h"
#include "panels/PanelModels.h"
#include "panels/RadioPanelReports.h"
#include "panels/SwitchPanelReports.h"

namespace {

using namespace std::chrono_literals;
using vunits::PluginUnderTest;
using vunits::Report;
using vunits::UnitPeer;
using vunits::UnitProfile;

namespace autopilot = panels::autopilot_panel;
namespace radio = panels::radio_panel;
namespace sw = panels::switch_panel;

std::int64_t Now() {
  return std::chrono::steady_clock::now().time_since_epoch().count();
}

double Microseconds(std::int64_t ticks) {
  using Tick = std::chrono::steady_clock::duration;
  return std::chrono::duration<double, std::micro>(Tick(ticks)).count();
}

// A unit of one model and the two reports it alternates between, each one step of a
// control that sends exactly one event without looking at the simulator's state: the upper
// fine encoder at COM1, the encoder at HDG, the gear lever.
struct Played {
  UnitProfile profile;
  Report even;
  Report odd;
};

Played Radio(const wchar_t* label) {
  Report even(radio::kInputReportLength, 0);
  even[1] = 0x01;  // the upper selector at COM1
  Report odd = even;
  even[radio::kUpperControls[2].byte] |= radio::kUpperControls[2].mask;
  odd[radio::kUpperControls[3].byte] |= radio::kUpperControls[3].mask;
  return {{label, panels::kRadioPanel.vendorId, panels::kRadioPanel.productId,
           radio::kInputReportLength, radio::kDisplayReportLength},
          even,
          odd};
}

Played Autopilot(const wchar_t* label) {
  const std::uint8_t hdg = autopilot::kSelectorDetents[3].mask;
  Report even(autopilot::kInputReportLength, 0);
  Report odd = even;
  even[autopilot::kSelectorByte] = hdg | autopilot::kEncoderIncrease.mask;
  odd[autopilot::kSelectorByte] = hdg | autopilot::kEncoderDecrease.mask;
  return {{label, panels::kAutopilotPanel.vendorId, panels::kAutopilotPanel.productId,
           autopilot::kInputReportLength, autopilot::kDisplayReportLength},
          even,
          odd};
}

Played Switch(const wchar_t* label) {
  Report even(sw::kInputReportLength, 0);
  Report odd = even;
  even[sw::kGearLeverUp.byte] = sw::kGearLeverUp.mask;
  odd[sw::kGearLeverDown.byte] = sw::kGearLeverDown.mask;
  return {{label, panels::kSwitchPanel.vendorId, panels::kSwitchPanel.productId,
           sw::kInputReportLength, sw::kGearLightReportLength},
          even,
          odd};
}

struct Unit {
  Played played;
  std::wstring path;
};

// Sends `reports` reports round the units, two apart in time so that none waits for the
// one before, and returns when each was handed to its pipe.
std::vector<std::int64_t> Send(UnitPeer& peer, std::vector<Unit>& units, int reports) {
  std::vector<std::int64_t> sent;
  sent.reserve(reports);
  for (int n = 0; n < reports; ++n) {
    Unit& unit = units[n % units.size()];
    const bool odd = (n / units.size()) % 2 != 0;
    sent.push_back(Now());
    if (!peer.Push(unit.path, odd ? unit.played.odd : unit.played.even)) break;
    Sleep(2);
  }
  return sent;
}

std::vector<double> Latencies(const std::vector<std::int64_t>& sent,
                              const std::vector<std::int64_t>& arrived) {
  std::vector<double> latencies;
  for (std::size_t n = 0; n < sent.size() && n < arrived.size(); ++n) {
    latencies.push_back(Microseconds(arrived[n] - sent[n]));
  }
  return latencies;
}

std::vector<std::int64_t> EventTimes(PluginUnderTest& plugin, std::size_t from) {
  std::vector<std::int64_t> times;
  for (;;) {
    std::istringstream line(plugin.Sim("event-times " + std::to_string(from + times.size())));
    const std::size_t before = times.size();
    for (std::int64_t at = 0; line >> at;) times.push_back(at);
    if (times.size() == before) return times;
  }
}

std::size_t EventCount(PluginUnderTest& plugin) {
  return EventTimes(plugin, 0).size();
}

// The plug-in with these units attached and the flight started, each unit having sent its
// first report, whose events are not counted.
struct Session {
  explicit Session(UnitPeer& peer, std::vector<Unit>& units) {
    if (!plugin.Started()) return;
    for (Unit& unit : units) {
      if (!peer.WaitForReader(unit.path, vunits::kPatience)) return;
    }
    if (plugin.Sim("system SimStart") != "ok") return;
    if (!vunits::Eventually(
            [&] { return plugin.Sim("count SimConnect_RequestDataOnSimObject") == "3"; })) {
      return;
    }
    for (Unit& unit : units) {
      if (!peer.Push(unit.path, unit.played.odd)) return;
    }
    if (!vunits::Eventually([&] { return EventCount(plugin) >= units.size(); })) return;
    Sleep(200);
    ready = true;
  }
  PluginUnderTest plugin;
  bool ready = false;
};

struct Measured {
  std::vector<double> latencies;  // µs, one for each report that reached the simulator
  std::size_t sent = 0;
  std::size_t events = 0;
};

Measured ThroughThePlugin(UnitPeer& peer, std::vector<Unit>& units, int reports) {
  Session session(peer, units);
  if (!session.ready) return {};
  const std::size_t before = EventCount(session.plugin);
  const auto sent = Send(peer, units, reports);
  vunits::Eventually([&] { return EventCount(session.plugin) >= before + sent.size(); });
  Sleep(200);
  const auto arrived = EventTimes(session.plugin, before);
  session.plugin.QuitAndWait();
  return {Latencies(sent, arrived), sent.size(), arrived.size()};
}

// The peer's write taken by a reader that only reads: what the pipe costs on its own.
Measured ThroughThePipe(UnitPeer& peer, int reports) {
  const Played played = Radio(L"bench-floor");
  const std::wstring path = peer.Plug(played.profile);
  HANDLE reader =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (reader == INVALID_HANDLE_VALUE) return {};
  std::vector<std::int64_t> arrived;
  arrived.reserve(reports);
  std::thread reading([&] {
    Report report(played.even.size());
    DWORD length = 0;
    while (static_cast<int>(arrived.size()) < reports &&
           ReadFile(reader, report.data(), static_cast<DWORD>(report.size()), &length, nullptr)) {
      arrived.push_back(Now());
    }
  });
  std::vector<Unit> units = {{played, path}};
  const auto sent = Send(peer, units, reports);
  peer.Unplug(path);
  reading.join();
  CloseHandle(reader);
  return {Latencies(sent, arrived), sent.size(), arrived.size()};
}

void PrintLatency(const std::string& of, const Measured& measured, double goalUs) {
  const bench::Percentiles latency = bench::Of(measured.latencies);
  const std::string figure = "report-to-event latency, " + of + ": ";
  bench::Row(figure + "p50", bench::Fixed(latency.p50, "us"), "");
  if (goalUs > 0) {
    bench::Below(figure + "p99", latency.p99, goalUs, "us");
  } else {
    bench::Row(figure + "p99", bench::Fixed(latency.p99, "us"), "");
  }
  bench::Row(figure + "max", bench::Fixed(latency.max, "us"), "");
  const bool whole = measured.sent > 0 && measured.events == measured.sent;
  bench::Row(figure + "reports sent, taken",
             std::to_string(measured.sent) + ", " + std::to_string(measured.events) +
                 (whole ? "" : " missed"),
             "equal");
}

// Six units attached and silent while the script measures; it says when it is done.
bool Idle(UnitPeer& peer, std::vector<Unit>& units, const std::filesystem::path& ready,
          const std::filesystem::path& done) {
  Session session(peer, units);
  if (!session.ready) return false;
  std::ofstream(ready).close();
  const bool measured = vunits::Eventually([&] { return std::filesystem::exists(done); });
  return session.plugin.QuitAndWait() == 0 && measured;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kor_plugin_bench REPORTS IDLE_READY IDLE_DONE\n");
    return 2;
  }
  const int reports = std::stoi(argv[1]);
  UnitPeer peer;
  const auto plug = [&](std::vector<Played> played) {
    std::vector<Unit> units;
    for (Played& each : played) units.push_back({each, peer.Plug(each.profile)});
    return units;
  };
  std::printf("Wine, the release KorPanels.exe with units at the system-library boundary\n");
  bench::Header();
  PrintLatency("pipe alone (floor)", ThroughThePipe(peer, reports), 0);
  std::vector<Unit> one = plug({Radio(L"bench-one")});
  PrintLatency("1 unit", ThroughThePlugin(peer, one, reports), 0);
  for (Unit& unit : one) peer.Unplug(unit.path);
  std::vector<Unit> six =
      plug({Radio(L"bench-radio-1"), Radio(L"bench-radio-2"), Autopilot(L"bench-autopilot-1"),
            Autopilot(L"bench-autopilot-2"), Switch(L"bench-switch-1"), Switch(L"bench-switch-2")});
  PrintLatency("6 units", ThroughThePlugin(peer, six, reports), 2000);
  std::fflush(stdout);
  return Idle(peer, six, argv[2], argv[3]) ? 0 : 1;
}
