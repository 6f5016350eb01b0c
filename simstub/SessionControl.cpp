#include <algorithm>
#include <utility>

#include "simstub/Session.h"

namespace simstub {
namespace {

// System events belong to no notification group.
constexpr simconnect::Dword kNoGroup = 0xFFFFFFFF;

}  // namespace

void Session::Reset() {
  Guard guard(*this);
  connection_.reset();
  aircraft_ = Aircraft{};
  failures_.Clear();
  transmitted_.clear();
  transmittedAt_.clear();
  calls_.clear();
}

void Session::SetVariable(std::string_view name, double value) {
  Guard guard(*this);
  aircraft_.Set(name, value);
}

double Session::GetVariable(std::string_view name) {
  Guard guard(*this);
  return aircraft_.Get(name);
}

void Session::AdvanceFrames(unsigned frames) {
  Guard guard(*this);
  for (unsigned frame = 0; frame < frames; ++frame) {
    aircraft_.AdvanceFrame();
    if (!connection_) continue;
    for (Record& record : connection_->requests.Frame(aircraft_)) Queue(std::move(record));
  }
}

void Session::FireSystemEvent(std::string_view name) {
  Guard guard(*this);
  if (!connection_) return;
  for (const Dword event : connection_->events.Subscribers(name)) {
    Queue(Record::Event(kNoGroup, event, 0));
  }
}

void Session::Quit() {
  Guard guard(*this);
  if (connection_) Queue(Record::Quit());
}

std::vector<TransmittedEvent> Session::TransmittedEvents() {
  Guard guard(*this);
  return transmitted_;
}

std::size_t Session::TransmittedEventCount() {
  Guard guard(*this);
  return transmitted_.size();
}

std::vector<std::int64_t> Session::TransmittedEventTimes(std::size_t from, std::size_t most) {
  Guard guard(*this);
  const std::size_t begin = std::min(from, transmittedAt_.size());
  const std::size_t end = begin + std::min(most, transmittedAt_.size() - begin);
  return {transmittedAt_.begin() + static_cast<std::ptrdiff_t>(begin),
          transmittedAt_.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::vector<std::string> Session::CallLog() {
  Guard guard(*this);
  return calls_;
}

std::vector<TransmittedEvent> Session::TakeTransmittedEvents() {
  Guard guard(*this);
  transmittedAt_.clear();
  return std::exchange(transmitted_, {});
}

void Session::ForgetCalls() {
  Guard guard(*this);
  calls_ = {};
}

bool Session::FailCall(std::string_view entryPoint, HResult result, unsigned nth) {
  const auto entry = FindEntryPoint(entryPoint);
  if (!entry) return false;
  Guard guard(*this);
  failures_.Arm(*entry, result, nth);
  return true;
}

void Session::ClearFailures() {
  Guard guard(*this);
  failures_.Clear();
}

std::size_t Session::PendingRecords() {
  Guard guard(*this);
  return Pending();
}

bool Session::IsOpen() {
  Guard guard(*this);
  return connection_.has_value();
}

ClientWindow Session::OpenedWindow() {
  Guard guard(*this);
  return connection_ ? connection_->window : ClientWindow{nullptr, 0};
}

}  // namespace simstub
