#include "tools/demo/DemoTrace.h"

#include <iomanip>

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

void DemoTrace::Heading(const std::string& title) {
  out_ << "\n== " << title << "\n";
}

void DemoTrace::Line(const char* label, const std::string& text) {
  out_ << "  " << std::left << std::setw(13) << label << text << "\n";
}

void DemoTrace::Check(bool matched, const std::string& what) {
  Line("plug-in", what + (matched ? "" : "  <-- NOT AS SCRIPTED"));
  matched_ = matched_ && matched;
}

void DemoTrace::Mismatch(const char* what, const std::string& expected) {
  Line("", std::string("<-- NOT AS SCRIPTED: expected ") + what + ": " + expected);
  matched_ = false;
}

void DemoTrace::CheckEvents(const std::vector<Event>& expected) {
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
