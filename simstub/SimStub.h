#pragma once

// Control API of the stand-in simulator: tests and the demo drive the simulator side
// of the one client connection through these functions. They live in the same library
// the plug-in loads, so a program that links it reaches the very instance the plug-in
// talks to. Every function is safe to call from any thread.
//
// Call log: one line per entry-point call, refused ones included, in call order:
//   SimConnect_Name(argument,argument,...)
// - the connection handle (and Open's handle out-pointer) is left out;
// - 32-bit numbers in decimal, unsigned ones as unsigned (0x80000002 is 2147483650);
// - the float epsilon in its shortest round-trip decimal form (0.05, 0);
// - strings between double quotes, exactly as received, without escaping;
// - other pointers (window, event handle, dispatch procedure, context, result address)
//   as 0x and lower-case hex digits;
// - a null string or pointer as null.
// Example: SimConnect_AddToDataDefinition(2,"PITOT HEAT","Bool",1,0.05,11)
//
// What the client gets back:
// - one connection at a time; a call with any other handle fails with E_FAIL;
// - arguments the stand-in cannot act on fail with E_INVALIDARG: data types other than
//   int32 and float32, data requests other than every frame on the user's aircraft with
//   flags 0 or 1, transmitting an id that was never mapped;
// - data request origin, interval and limit are ignored; RequestDataOnSimObjectType and
//   RequestSystemState are accepted and answered with nothing;
// - a transmitted event held in a notification group that has a priority comes back as
//   an event record of that group; system events come with group 0xFFFFFFFF, datum 0.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "simlink/SimConnectApi.h"
#include "simstub/Export.h"

namespace simstub {

struct TransmittedEvent {
  std::string name;  // the simulator event the client id was mapped to
  simconnect::Dword datum;
  simconnect::Dword group;  // as passed by the client

  friend bool operator==(const TransmittedEvent&, const TransmittedEvent&) = default;
};

struct ClientWindow {
  simconnect::WindowHandle window;
  simconnect::Dword message;
};

inline constexpr unsigned kEveryCall = 0;

// Closes the connection and forgets everything: records, logs, failures, and the aircraft
// returns to its starting state.
SIMSTUB_API void Reset();

// Aircraft variables by simulator name, letter case ignored, in the units the panels ask
// for. A variable the model does not know reads 0 until it is set.
SIMSTUB_API void SetVariable(std::string_view name, double value);
SIMSTUB_API double GetVariable(std::string_view name);

// Runs the aircraft model, then every data request, once per frame; queues the records.
SIMSTUB_API void AdvanceFrames(unsigned frames);

// Queues an event record for each of the client's subscriptions to this system event
// ("SimStart", "SimStop", "Paused", "Unpaused").
SIMSTUB_API void FireSystemEvent(std::string_view name);

// Queues the quit record.
SIMSTUB_API void Quit();

SIMSTUB_API std::vector<TransmittedEvent> TransmittedEvents();
// As many as TransmittedEvents() holds, without copying them.
SIMSTUB_API std::size_t TransmittedEventCount();
// When each of them arrived, as steady-clock ticks, from the `from`th on and at most `most`.
// On Windows that clock is the performance counter, which every process of the machine
// shares: a program that started a report on its way can tell how long it took.
SIMSTUB_API std::vector<std::int64_t> TransmittedEventTimes(std::size_t from, std::size_t most);
SIMSTUB_API std::vector<std::string> CallLog();
// The transmitted events so far, which are forgotten with their times: the next call returns
// only later ones.
// A controller that runs for hours takes them as it goes, so that neither the log nor one
// answer grows without bound.
SIMSTUB_API std::vector<TransmittedEvent> TakeTransmittedEvents();
// Empties the call log, for the same reason.
SIMSTUB_API void ForgetCalls();

// From now on the named entry point returns `result` without effect: on every call, or
// only on the nth call counted from here (1 = the next one). False for an unknown name.
[[nodiscard]] SIMSTUB_API bool FailCall(std::string_view entryPoint, simconnect::HResult result,
                                        unsigned nth = kEveryCall);
SIMSTUB_API void ClearFailures();

// Records queued and not yet handed to a dispatch procedure.
SIMSTUB_API std::size_t PendingRecords();

SIMSTUB_API bool IsOpen();

// The window and message given to Open; a null window while no connection is open.
SIMSTUB_API ClientWindow OpenedWindow();

}  // namespace simstub
