#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "SimulatorRecords.h"
#include "device/CPanelDevice.h"

// A panel behaviour connected to the stand-in simulator, fed input reports the way a
// unit's reader feeds them: each report becomes the previous one of the next.
template <typename Panel, std::size_t ReportLength>
class PanelRig {
 public:
  using Report = std::array<std::uint8_t, ReportLength>;

  PanelRig() {
    simstub::Reset();
    sim.Open("panel rig", nullptr, 0, nullptr, 0);
    panel.Initialize();
    panel.StartDataRequest();
    Frame();
  }

  // One simulation frame, its records delivered to the panel.
  void Frame() {
    simstub::AdvanceFrames(1);
    DeliverRecords(sim, panel);
  }
  void SimSets(std::string_view variable, double value) {
    simstub::SetVariable(variable, value);
    Frame();
  }

  void Move(const Report& report) {
    panel.OnInputReport(unit, static_cast<std::uint32_t>(report.size()), m_previous, report);
    m_previous = report;
  }

  // The events transmitted since the last call.
  std::vector<Sent> Events() {
    auto sent = TransmittedSince(m_seen);
    m_seen += sent.size();
    return sent;
  }

  CSimConnectLib sim{CSimConnectLib::kLibraryName};
  Panel panel{&sim};
  CPanelDevice unit;

 private:
  Report m_previous{};
  std::size_t m_seen = 0;
};
