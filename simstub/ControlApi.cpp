#include "simstub/Session.h"
#include "simstub/SimStub.h"

namespace simstub {

void Reset() {
  TheSession().Reset();
}

void SetVariable(std::string_view name, double value) {
  TheSession().SetVariable(name, value);
}

double GetVariable(std::string_view name) {
  return TheSession().GetVariable(name);
}

void AdvanceFrames(unsigned frames) {
  TheSession().AdvanceFrames(frames);
}

void FireSystemEvent(std::string_view name) {
  TheSession().FireSystemEvent(name);
}

void Quit() {
  TheSession().Quit();
}

std::vector<TransmittedEvent> TransmittedEvents() {
  return TheSession().TransmittedEvents();
}

std::size_t TransmittedEventCount() {
  return TheSession().TransmittedEventCount();
}

std::vector<std::int64_t> TransmittedEventTimes(std::size_t from, std::size_t most) {
  return TheSession().TransmittedEventTimes(from, most);
}

std::vector<std::string> CallLog() {
  return TheSession().CallLog();
}

std::vector<TransmittedEvent> TakeTransmittedEvents() {
  return TheSession().TakeTransmittedEvents();
}

void ForgetCalls() {
  TheSession().ForgetCalls();
}

bool FailCall(std::string_view entryPoint, simconnect::HResult result, unsigned nth) {
  return TheSession().FailCall(entryPoint, result, nth);
}

void ClearFailures() {
  TheSession().ClearFailures();
}

std::size_t PendingRecords() {
  return TheSession().PendingRecords();
}

bool IsOpen() {
  return TheSession().IsOpen();
}

ClientWindow OpenedWindow() {
  return TheSession().OpenedWindow();
}

}  // namespace simstub
