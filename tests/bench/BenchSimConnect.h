#pragma once

// The benchmark's client library: every entry point succeeds and does nothing, except that
// each transmitted event is reported to the hook.

#include "simlink/SimConnectApi.h"

using TransmitHook = void (*)(simconnect::Dword eventId);

extern "C" __attribute__((visibility("default"))) void BenchSimConnect_SetTransmitHook(
    TransmitHook hook);
