#pragma once

// The simulator's system events the plug-in subscribes to, under client event ids of its
// own. These small ids never meet the panels' client events, which carry the top bit.

#include <array>

#include "simlink/SimConnectApi.h"

namespace host {

struct SystemEvent {
  simconnect::Dword id;
  const char* name;
  // A flight starting or resuming: the panels need the simulator's values again.
  bool startsDataRequests;
};

inline constexpr std::array kSystemEvents = {
    SystemEvent{1, "SimStart", true},
    SystemEvent{2, "SimStop", false},
    SystemEvent{3, "Paused", false},
    SystemEvent{4, "Unpaused", true},
};

}  // namespace host
