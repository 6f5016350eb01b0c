#pragma once

// What every panel's part of the demo flight shares: the trace with its headings and
// labelled lines, the record of whether each step came out as scripted, and the waits
// that let the plug-in catch up.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace demo {

struct Event {
  std::string name;
  std::uint32_t datum;
  friend bool operator==(const Event&, const Event&) = default;
};

// "NAME datum, NAME datum", or "none".
std::string Describe(const std::vector<Event>& events);
// Report bytes as two hex digits each.
std::string Hex(std::span<const std::uint8_t> bytes);

// Lets the main window handle what waits for it.
void Pump();
// Waits until the unit's reader has taken every report pushed to it.
bool Settled(const std::wstring& path, std::chrono::seconds timeout = std::chrono::seconds(10));

class FlightLog {
 public:
  explicit FlightLog(std::ostream& trace) : trace_(trace) {}

  void Heading(const std::string& title);
  void Line(const char* label, const std::string& text);
  // The plug-in's own doing, traced and marked when it is not as scripted.
  void Check(bool matched, const std::string& what);
  void Mismatch(const char* what, const std::string& expected);
  // The client events the simulator received since the last look, against the script.
  void CheckEvents(const std::vector<Event>& expected);
  bool Matched() const { return matched_; }

 protected:
  std::ostream& trace_;

 private:
  std::size_t eventsSeen_ = 0;
  bool matched_ = true;
};

}  // namespace demo
