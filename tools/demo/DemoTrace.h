#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace demo {

// A client event as the stand-in simulator received it.
struct Event {
  std::string name;
  std::uint32_t datum;
  friend bool operator==(const Event&, const Event&) = default;
};

// The events as "NAME datum, NAME datum", or "none".
std::string Describe(const std::vector<Event>& events);

// The demo's trace: headings, labelled lines, and checks against the script, any one of
// which that fails marks the whole flight as not matched.
class DemoTrace {
 public:
  explicit DemoTrace(std::ostream& out) : out_(out) {}

  std::ostream& Out() { return out_; }
  bool Matched() const { return matched_; }

  void Heading(const std::string& title);
  void Line(const char* label, const std::string& text);
  void Check(bool matched, const std::string& what);
  void Mismatch(const char* what, const std::string& expected);
  // Traces the client events the simulator received since the last look, and checks them.
  void CheckEvents(const std::vector<Event>& expected);

 private:
  std::ostream& out_;
  std::size_t eventsSeen_ = 0;
  bool matched_ = true;
};

}  // namespace demo
