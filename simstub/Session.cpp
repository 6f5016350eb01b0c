#include "simstub/Session.h"

#include <chrono>
#include <utility>

#include "simstub/CallLog.h"
#include "simstub/RemoteControl.h"
#include "simstub/Results.h"
#include "simstub/ScriptedQuit.h"
#include "simstub/WindowPost.h"

namespace simstub {
namespace {

const void* Address(simconnect::DispatchProc dispatch) {
  return reinterpret_cast<const void*>(dispatch);
}

}  // namespace

Session& TheSession() {
  static Session session;
  return session;
}

Session::Guard::Guard(Session& session)
    : session_(session), lock_(session.mutex_), wasIdle_(session.Pending() == 0) {}

Session::Guard::~Guard() {
  ClientWindow wake{nullptr, 0};
  if (wasIdle_ && session_.Pending() > 0) wake = session_.connection_->window;
  lock_.unlock();
  if (wake.window != nullptr) PostToWindow(wake.window, wake.message);
}

template <typename... Args>
std::optional<Session::HResult> Session::Log(EntryPoint entry, const Args&... args) {
  calls_.push_back(FormatCall(NameOf(entry), args...));
  return failures_.Check(entry);
}

template <typename... Args>
std::optional<Session::HResult> Session::Admit(EntryPoint entry, Handle handle,
                                               const Args&... args) {
  if (const auto failure = Log(entry, args...)) return failure;
  if (!connection_ || handle != connection_->handle) return kEFail;
  ++connection_->packets;
  return std::nullopt;
}

std::size_t Session::Pending() const {
  return connection_ ? connection_->queue.size() : 0;
}

void Session::Queue(Record record) {
  connection_->queue.push_back(std::move(record));
}

Session::HResult Session::Open(Handle* handle, const char* name, simconnect::WindowHandle window,
                               Dword message, simconnect::EventHandle event, Dword configIndex) {
  Guard guard(*this);
  if (const auto failure = Log(EntryPoint::Open, name, window, message, event, configIndex)) {
    return *failure;
  }
  if (handle == nullptr || name == nullptr) return kEInvalidArg;
  // One client at a time: a second Open shows a fault in the client.
  if (connection_) return kEFail;
  connection_.emplace();
  connection_->handle = reinterpret_cast<Handle>(++opened_);
  connection_->window = {window, message};
  *handle = connection_->handle;
  ScheduleScriptedQuit();
  ServeRemoteControl();
  return kSOk;
}

Session::HResult Session::Close(Handle handle) {
  Guard guard(*this);
  if (const auto refused = Admit(EntryPoint::Close, handle)) return *refused;
  connection_.reset();
  return kSOk;
}

Session::HResult Session::CallDispatch(Handle handle, simconnect::DispatchProc dispatch,
                                       void* context) {
  std::deque<Record> batch;
  {
    Guard guard(*this);
    if (const auto refused = Admit(EntryPoint::CallDispatch, handle, Address(dispatch), context)) {
      return *refused;
    }
    if (dispatch == nullptr) return kEInvalidArg;
    // Records queued while this batch is delivered start a batch of their own.
    batch.swap(connection_->queue);
  }
  for (const Record& record : batch) dispatch(record.Get(), record.Size(), context);
  return kSOk;
}

Session::HResult Session::MapClientEventToSimEvent(Handle handle, Dword event, const char* name) {
  Guard guard(*this);
  if (const auto refused = Admit(EntryPoint::MapClientEventToSimEvent, handle, event, name)) {
    return *refused;
  }
  if (name == nullptr) return kEInvalidArg;
  connection_->events.Map(event, name);
  return kSOk;
}

Session::HResult Session::TransmitClientEvent(Handle handle, Dword object, Dword event, Dword datum,
                                              Dword group, Dword flags) {
  Guard guard(*this);
  if (const auto refused =
          Admit(EntryPoint::TransmitClientEvent, handle, object, event, datum, group, flags)) {
    return *refused;
  }
  const std::string* name = connection_->events.NameOf(event);
  if (name == nullptr) return kEInvalidArg;
  transmitted_.push_back({*name, datum, group});
  transmittedAt_.push_back(std::chrono::steady_clock::now().time_since_epoch().count());
  aircraft_.Apply(*name, datum);
  for (const Dword notified : connection_->events.GroupsNotified(event)) {
    Queue(Record::Event(notified, event, datum));
  }
  return kSOk;
}

Session::HResult Session::AddClientEventToNotificationGroup(Handle handle, Dword group, Dword event,
                                                            std::int32_t maskable) {
  Guard guard(*this);
  if (const auto refused =
          Admit(EntryPoint::AddClientEventToNotificationGroup, handle, group, event, maskable)) {
    return *refused;
  }
  connection_->events.AddToGroup(group, event);
  return kSOk;
}

Session::HResult Session::SetNotificationGroupPriority(Handle handle, Dword group, Dword priority) {
  Guard guard(*this);
  if (const auto refused =
          Admit(EntryPoint::SetNotificationGroupPriority, handle, group, priority)) {
    return *refused;
  }
  connection_->events.SetPriority(group, priority);
  return kSOk;
}

Session::HResult Session::AddToDataDefinition(Handle handle, Dword define, const char* variable,
                                              const char* units, Dword type, float epsilon,
                                              Dword datum) {
  Guard guard(*this);
  if (const auto refused = Admit(EntryPoint::AddToDataDefinition, handle, define, variable, units,
                                 type, epsilon, datum)) {
    return *refused;
  }
  if (variable == nullptr || units == nullptr) return kEInvalidArg;
  return connection_->requests.Define(define, variable, type, epsilon);
}

// Origin, interval and limit are logged but not honoured: every request starts at once
// and runs until replaced.
Session::HResult Session::RequestDataOnSimObject(Handle handle, Dword request, Dword define,
                                                 Dword object, Dword period, Dword flags,
                                                 Dword origin, Dword interval, Dword limit) {
  Guard guard(*this);
  if (const auto refused = Admit(EntryPoint::RequestDataOnSimObject, handle, request, define,
                                 object, period, flags, origin, interval, limit)) {
    return *refused;
  }
  return connection_->requests.Request(request, define, object, period, flags);
}

// Accepted for the binding's sake; the plug-in never asks for this reply, so none is built.
Session::HResult Session::RequestDataOnSimObjectType(Handle handle, Dword request, Dword define,
                                                     Dword radius, Dword type) {
  Guard guard(*this);
  if (const auto refused =
          Admit(EntryPoint::RequestDataOnSimObjectType, handle, request, define, radius, type)) {
    return *refused;
  }
  return kSOk;
}

Session::HResult Session::SubscribeToSystemEvent(Handle handle, Dword event, const char* name) {
  Guard guard(*this);
  if (const auto refused = Admit(EntryPoint::SubscribeToSystemEvent, handle, event, name)) {
    return *refused;
  }
  if (name == nullptr) return kEInvalidArg;
  connection_->events.Subscribe(event, name);
  return kSOk;
}

Session::HResult Session::UnsubscribeFromSystemEvent(Handle handle, Dword event) {
  Guard guard(*this);
  if (const auto refused = Admit(EntryPoint::UnsubscribeFromSystemEvent, handle, event)) {
    return *refused;
  }
  connection_->events.Unsubscribe(event);
  return kSOk;
}

// Accepted for the binding's sake; the plug-in never asks for this reply, so none is built.
Session::HResult Session::RequestSystemState(Handle handle, Dword request, const char* state) {
  Guard guard(*this);
  if (const auto refused = Admit(EntryPoint::RequestSystemState, handle, request, state)) {
    return *refused;
  }
  return kSOk;
}

Session::HResult Session::GetLastSentPacketID(Handle handle, Dword* packet) {
  Guard guard(*this);
  if (const auto refused =
          Admit(EntryPoint::GetLastSentPacketID, handle, static_cast<const void*>(packet))) {
    return *refused;
  }
  if (packet == nullptr) return kEInvalidArg;
  // Every admitted call on the connection is a packet; this query reports the one before it.
  *packet = connection_->packets - 1;
  return kSOk;
}

}  // namespace simstub
