#pragma once

#include "simlink/SimConnectApi.h"

namespace simstub {

// Tells the client's window that records are waiting, by posting its chosen message.
void PostToWindow(simconnect::WindowHandle window, simconnect::Dword message);

}  // namespace simstub
