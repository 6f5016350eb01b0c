#include "tools/demo/FlightLog.h"

#include <iomanip>
#include <sstream>

#include "platform/posix/message_pump.h"
#include "platform/posix/virtual_hid_bus.h"
#include "simstub/SimStub.h"

namespace demo {

std::string Describe(const std::vector<Event>& events) {
  if (events.empty()) return "none";
  std::string text;
  for (const Event& event : events) {
    text += (text.empty() ? "" : ", ") + event.name + " " + std::to_string(event.datum);
  }
  return text;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::ostringstream text;
  text << std::hex << std::setfill('0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text << (i ? " " : "") << std::setw(2) << static_cast<int>(bytes[i]);
  }
  return text.str();
}

void Pump() {
  platform::posix::DispatchPendingMessages();
}

bool Settled(const std::wstring& path, std::chrono::seconds timeout) {
  return platform::vhid::WaitUntilIdle(path, timeout);
}

void FlightLog::Heading(const std::string& title) {
  trace_ << "\n== " << title << "\n";
}

void FlightLog::Line(const char* label, const std::string& text) {
  trace_ << "  " << std::left << std::setw(13) << label << text << "\n";
}

void FlightLog::Check(bool matched, const std::string& what) {
  Line("plug-in", what + (matched ? "" : "  <-- NOT AS SCRIPTED"));
  matched_ = matched_ && matched;
}

void FlightLog::Mismatch(const char* what, const std::string& expected) {
  Line("", std::string("<-- NOT AS SCRIPTED: expected ") + what + ": " + expected);
  matched_ = false;
}

void FlightLog::CheckEvents(const std::vector<Event>& expected) {
  const auto transmitted = simstub::TransmittedEvents();
  std::vector<Event> events;
  for (std::size_t i = eventsSeen_; i < transmitted.size(); ++i) {
    events.push_back({transmitted[i].name, transmitted[i].datum});
  }
  eventsSeen_ = transmitted.size();
  Line("client event", Describe(events));
  if (events != expected) Mismatch("client events", Describe(expected));
}

}  // namespace demo
