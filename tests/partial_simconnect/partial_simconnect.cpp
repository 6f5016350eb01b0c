#include "simlink/SimConnectApi.h"

#if defined(_WIN32)
#define PARTIAL_EXPORT extern "C" __declspec(dllexport)
#else
#define PARTIAL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
int g_connection = 0;
}

PARTIAL_EXPORT simconnect::HResult SIMCONNECT_CALL
SimConnect_Open(simconnect::Handle* handle, const char*, simconnect::WindowHandle,
                simconnect::Dword, simconnect::EventHandle, simconnect::Dword) {
  *handle = &g_connection;
  return 0;
}

PARTIAL_EXPORT simconnect::HResult SIMCONNECT_CALL SimConnect_SetNotificationGroupPriority(
    simconnect::Handle handle, simconnect::Dword, simconnect::Dword) {
  return handle == &g_connection ? 7 : -1;
}
