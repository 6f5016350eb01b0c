#include "simstub/RemoteCommands.h"

#include <charconv>
#include <cstdio>

#include "simstub/ProcessFigures.h"
#include "simstub/SimStub.h"

namespace simstub {
namespace {

struct Split {
  std::string_view verb;
  std::string_view rest;
};

Split SplitFirstWord(std::string_view line) {
  const auto space = line.find(' ');
  if (space == std::string_view::npos) return {line, {}};
  return {line.substr(0, space), line.substr(space + 1)};
}

template <typename Number>
bool Parse(std::string_view text, Number& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc{} && end == text.data() + text.size();
}

std::string Format(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.17g", value);
  return text;
}

std::string EventLines(const std::vector<TransmittedEvent>& events) {
  std::string lines;
  for (const TransmittedEvent& event : events) {
    lines +=
        event.name + ' ' + std::to_string(event.datum) + ' ' + std::to_string(event.group) + '\n';
  }
  return lines;
}

// As many as fit one answer of the remote control, from the `from`th on.
std::string TransmittedEventTimeLine(std::size_t from) {
  constexpr std::size_t kTimesPerAnswer = 2000;
  std::string line;
  for (const std::int64_t at : TransmittedEventTimes(from, kTimesPerAnswer)) {
    if (!line.empty()) line += ' ';
    line += std::to_string(at);
  }
  return line;
}

std::size_t CallsNamed(std::string_view entryPoint) {
  std::size_t count = 0;
  for (const std::string& call : CallLog()) {
    if (call.size() > entryPoint.size() && call.starts_with(entryPoint) &&
        call[entryPoint.size()] == '(') {
      ++count;
    }
  }
  return count;
}

}  // namespace

std::string RunRemoteCommand(std::string_view line) {
  const auto [verb, rest] = SplitFirstWord(line);
  if (verb == "set") {
    const auto [valueText, name] = SplitFirstWord(rest);
    double value = 0;
    if (name.empty() || !Parse(valueText, value)) return "error: set VALUE NAME";
    SetVariable(name, value);
    return "ok";
  }
  if (verb == "get" && !rest.empty()) return Format(GetVariable(rest));
  if (verb == "frames") {
    unsigned frames = 0;
    if (!Parse(rest, frames)) return "error: frames N";
    AdvanceFrames(frames);
    return "ok";
  }
  if (verb == "system" && !rest.empty()) {
    FireSystemEvent(rest);
    return "ok";
  }
  if (verb == "quit") {
    Quit();
    return "ok";
  }
  if (verb == "event-times") {
    std::size_t from = 0;
    if (!Parse(rest, from)) return "error: event-times FROM";
    return TransmittedEventTimeLine(from);
  }
  if (verb == "events") return EventLines(TransmittedEvents());
  if (verb == "take" && rest == "events") return EventLines(TakeTransmittedEvents());
  if (verb == "forget" && rest == "calls") {
    ForgetCalls();
    return "ok";
  }
  if (verb == "handles") return HandleFigures();
  if (verb == "memory") return PrivateMemoryFigure();
  if (verb == "pending") return std::to_string(PendingRecords());
  if (verb == "count" && !rest.empty()) return std::to_string(CallsNamed(rest));
  return "error: unknown command";
}

}  // namespace simstub
