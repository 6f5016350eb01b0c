#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simlink/SimConnectApi.h"
#include "simstub/Aircraft.h"
#include "simstub/ClientEvents.h"
#include "simstub/DataRequests.h"
#include "simstub/EntryPointNames.h"
#include "simstub/Failures.h"
#include "simstub/Records.h"
#include "simstub/SimStub.h"

namespace simstub {

// The simulator side of the one client connection. Client threads and the controlling
// test call in concurrently, so all state sits behind one lock; the client's dispatch
// procedure and its window are called only with the lock released.
class Session {
 public:
  using Dword = simconnect::Dword;
  using Handle = simconnect::Handle;
  using HResult = simconnect::HResult;

  // The client's entry points, arguments as passed through the library's interface.
  HResult Open(Handle* handle, const char* name, simconnect::WindowHandle window, Dword message,
               simconnect::EventHandle event, Dword configIndex);
  HResult Close(Handle handle);
  HResult CallDispatch(Handle handle, simconnect::DispatchProc dispatch, void* context);
  HResult MapClientEventToSimEvent(Handle handle, Dword event, const char* name);
  HResult TransmitClientEvent(Handle handle, Dword object, Dword event, Dword datum, Dword group,
                              Dword flags);
  HResult AddClientEventToNotificationGroup(Handle handle, Dword group, Dword event,
                                            std::int32_t maskable);
  HResult SetNotificationGroupPriority(Handle handle, Dword group, Dword priority);
  HResult AddToDataDefinition(Handle handle, Dword define, const char* variable, const char* units,
                              Dword type, float epsilon, Dword datum);
  HResult RequestDataOnSimObject(Handle handle, Dword request, Dword define, Dword object,
                                 Dword period, Dword flags, Dword origin, Dword interval,
                                 Dword limit);
  HResult RequestDataOnSimObjectType(Handle handle, Dword request, Dword define, Dword radius,
                                     Dword type);
  HResult SubscribeToSystemEvent(Handle handle, Dword event, const char* name);
  HResult UnsubscribeFromSystemEvent(Handle handle, Dword event);
  HResult RequestSystemState(Handle handle, Dword request, const char* state);
  HResult GetLastSentPacketID(Handle handle, Dword* packet);

  // The controlling side, as documented in SimStub.h.
  void Reset();
  void SetVariable(std::string_view name, double value);
  double GetVariable(std::string_view name);
  void AdvanceFrames(unsigned frames);
  void FireSystemEvent(std::string_view name);
  void Quit();
  std::vector<TransmittedEvent> TransmittedEvents();
  std::size_t TransmittedEventCount();
  std::vector<std::int64_t> TransmittedEventTimes(std::size_t from, std::size_t most);
  std::vector<std::string> CallLog();
  std::vector<TransmittedEvent> TakeTransmittedEvents();
  void ForgetCalls();
  bool FailCall(std::string_view entryPoint, HResult result, unsigned nth);
  void ClearFailures();
  std::size_t PendingRecords();
  bool IsOpen();
  ClientWindow OpenedWindow();

 private:
  // Holds the lock; on release, wakes the client's window when records became pending
  // where there were none, so that one message announces each batch.
  class Guard {
   public:
    explicit Guard(Session& session);
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    Session& session_;
    std::unique_lock<std::mutex> lock_;
    bool wasIdle_;
  };

  struct Connection {
    Handle handle;
    ClientWindow window;
    Dword packets = 0;
    ClientEvents events;
    DataRequests requests;
    std::deque<Record> queue;
  };

  template <typename... Args>
  std::optional<HResult> Log(EntryPoint entry, const Args&... args);
  template <typename... Args>
  std::optional<HResult> Admit(EntryPoint entry, Handle handle, const Args&... args);
  std::size_t Pending() const;
  void Queue(Record record);

  std::mutex mutex_;
  std::uintptr_t opened_ = 0;  // connections opened so far; each gets a handle of its own
  std::optional<Connection> connection_;
  Aircraft aircraft_;
  Failures failures_;
  std::vector<TransmittedEvent> transmitted_;
  std::vector<std::int64_t> transmittedAt_;  // steady-clock ticks, one for each of transmitted_
  std::vector<std::string> calls_;
};

Session& TheSession();

}  // namespace simstub
