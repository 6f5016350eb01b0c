#include <atomic>

#include "BenchSimConnect.h"

using simconnect::Dword;
using simconnect::Handle;
using simconnect::HResult;

#define BENCH_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
int g_connection = 0;
std::atomic<TransmitHook> g_hook{nullptr};
}  // namespace

void BenchSimConnect_SetTransmitHook(TransmitHook hook) {
  g_hook = hook;
}

BENCH_EXPORT HResult SIMCONNECT_CALL SimConnect_Open(Handle* handle, const char*,
                                                     simconnect::WindowHandle, Dword,
                                                     simconnect::EventHandle, Dword) {
  *handle = &g_connection;
  return 0;
}
BENCH_EXPORT HResult SIMCONNECT_CALL SimConnect_MapClientEventToSimEvent(Handle, Dword,
                                                                         const char*) {
  return 0;
}
BENCH_EXPORT HResult SIMCONNECT_CALL SimConnect_AddClientEventToNotificationGroup(Handle, Dword,
                                                                                  Dword,
                                                                                  std::int32_t) {
  return 0;
}
BENCH_EXPORT HResult SIMCONNECT_CALL SimConnect_SetNotificationGroupPriority(Handle, Dword, Dword) {
  return 0;
}
BENCH_EXPORT HResult SIMCONNECT_CALL SimConnect_AddToDataDefinition(Handle, Dword, const char*,
                                                                    const char*, Dword, float,
                                                                    Dword) {
  return 0;
}
BENCH_EXPORT HResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObject(Handle, Dword, Dword, Dword,
                                                                       Dword, Dword, Dword, Dword,
                                                                       Dword) {
  return 0;
}
BENCH_EXPORT HResult SIMCONNECT_CALL SimConnect_TransmitClientEvent(Handle, Dword, Dword eventId,
                                                                    Dword, Dword, Dword) {
  if (const TransmitHook hook = g_hook.load(std::memory_order_acquire)) hook(eventId);
  return 0;
}
