#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "panels/AutopilotPanelReports.h"
#include "panels/PanelModels.h"
#include "panels/RadioPanelReports.h"
#include "panels/SwitchPanelReports.h"
#include "platform/posix/virtual_hid_bus.h"
#include "simstub/SimStub.h"

// Two units of each panel model for the whole-plug-in suites. Each unit has a pair of input
// reports that, sent in turn, make it send a client event no other unit sends, so every
// event tells which unit it came from; and the output its behaviour writes as it stops.
struct ModelUnit {
  std::wstring path;
  panels::PanelModel model;
  platform::vhid::Report pressed;
  platform::vhid::Report released;
  std::string signature;
  platform::vhid::Report stopping;

  void Plug(const std::wstring& spelling) const {
    platform::vhid::Plug({spelling, static_cast<std::uint16_t>(model.vendorId),
                          static_cast<std::uint16_t>(model.productId), 4, 0});
  }
  void Plug() const { Plug(path); }
  int Handles() const { return platform::vhid::OpenHandles(path); }
  std::vector<platform::vhid::Report> Features() const { return platform::vhid::FeatureLog(path); }
  // The unit was served and its last output is the one written as its reader stopped.
  bool EndedWithStoppingOutput() const {
    const auto log = Features();
    return !log.empty() && log.back() == stopping;
  }
};

inline platform::vhid::Report Bytes(std::span<const std::uint8_t> report) {
  return {report.begin(), report.end()};
}

inline std::vector<ModelUnit> AllModelUnits() {
  using platform::vhid::Report;
  const Report lampsOff =
      Bytes(panels::switch_panel::MakeGearLightReport(panels::switch_panel::kAllLampsOff));
  const Report blank = Bytes(panels::radio_panel::kBlankReport);
  const Report reset = Bytes(panels::autopilot_panel::MakeResetReport());
  constexpr panels::PanelModel ap = panels::kAutopilotPanel;
  constexpr panels::PanelModel radio = panels::kRadioPanel;
  constexpr panels::PanelModel sw = panels::kSwitchPanel;
  // AP button; flaps lever stepping down; the upper row's coarse encoder with the selector
  // on COM1, then on NAV1; de-ice switch; gear lever up and down.
  return {
      {L"autopilot-a", ap, {0, 0x80, 0, 0}, {0, 0, 0, 0}, "AP_MASTER", reset},
      {L"autopilot-b", ap, {0, 0, 0, 0x02}, {0, 0, 0, 0}, "FLAPS_INCR", reset},
      {L"radio-a", radio, {0, 0x01, 0, 0x04}, {0, 0x01, 0, 0}, "COM_RADIO_WHOLE_INC", blank},
      {L"radio-b", radio, {0, 0x04, 0, 0x04}, {0, 0x04, 0, 0}, "NAV1_RADIO_WHOLE_INC", blank},
      {L"switch-a", sw, {0, 0x10, 0, 0}, {0, 0, 0, 0}, "ANTI_ICE_SET", lampsOff},
      {L"switch-b", sw, {0, 0, 0, 0x04}, {0, 0, 0, 0x08}, "GEAR_UP", lampsOff},
  };
}

// Keeps input reports flowing to units on a thread of its own until it goes: each unit gets
// its two reports in turn, whether it is plugged or not (a unit that is not takes nothing).
class ReportFeeder {
 public:
  explicit ReportFeeder(std::vector<ModelUnit> units) : m_units(std::move(units)) {
    m_thread = std::thread([this] {
      while (m_running) {
        for (const ModelUnit& unit : m_units) {
          platform::vhid::PushInput(unit.path, unit.pressed);
          platform::vhid::PushInput(unit.path, unit.released);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
  }
  ~ReportFeeder() { Stop(); }
  ReportFeeder(const ReportFeeder&) = delete;
  ReportFeeder& operator=(const ReportFeeder&) = delete;

  void Stop() {
    m_running = false;
    if (m_thread.joinable()) m_thread.join();
  }

 private:
  std::vector<ModelUnit> m_units;
  std::atomic<bool> m_running{true};
  std::thread m_thread;
};

// How many of the simulator's received events carry this name.
inline std::size_t CountOf(const std::vector<simstub::TransmittedEvent>& events,
                           const std::string& name) {
  return static_cast<std::size_t>(
      std::ranges::count(events, name, &simstub::TransmittedEvent::name));
}
