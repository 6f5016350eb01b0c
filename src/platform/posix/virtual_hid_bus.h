#pragma once

// The virtual HID bus: the Linux stand-in for the panels. Tests and the demo plug units
// in by path, push input reports, read what was written to them and inject failures.
// Paths compare without regard to letter case, as device paths do on Windows.

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace platform::vhid {

using Report = std::vector<std::uint8_t>;

struct UnitProfile {
  std::wstring path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t inputReportLength = 0;
  std::uint16_t featureReportLength = 0;
};

enum class Fault { Open, Attributes, Capabilities, SetFeature, GetFeature, Read };

// Arrival (true) or removal (false) of a unit; called on the thread that plugs or unplugs.
using ChangeListener = std::function<void(bool arrived, const std::wstring& path)>;

void Plug(const UnitProfile& profile);
// Ends the unit: a pending read completes with failure, later reads never complete.
void Unplug(const std::wstring& path);
void PushInput(const std::wstring& path, std::span<const std::uint8_t> report);
// Every feature report the unit accepted, oldest first.
std::vector<Report> FeatureLog(const std::wstring& path);
// What the unit answers to feature reads (padded with zeros to the reader's length).
void SetFeatureAnswer(const std::wstring& path, std::span<const std::uint8_t> report);
void InjectFault(const std::wstring& path, Fault fault, bool active = true);
// Waits until every pushed report was taken and a reader waits for the next one.
bool WaitUntilIdle(const std::wstring& path, std::chrono::milliseconds timeout);
// Handles to the unit that are open now (synchronous and overlapped).
int OpenHandles(const std::wstring& path);
std::vector<std::wstring> PresentPaths();
// How often a reader waiting for a report was woken, since the process started: an idle
// unit costs none.
std::uint64_t ReaderWakeups();

int AddChangeListener(ChangeListener listener);
void RemoveChangeListener(int id);

// Unplugs everything silently and forgets listeners and faults.
void Reset();

}  // namespace platform::vhid
