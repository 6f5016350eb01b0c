#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "device/CPanelClass.h"
#include "simlink/CSimConnectLib.h"
#include "simstub/SimStub.h"

// Hands every record the simulator has queued to the panel, as the main window's dispatch
// does: a data record goes to OnSimObjectData with its data block, sized from the record.
inline void SIMCONNECT_CALL ForwardObjectData(simconnect::Recv* record, simconnect::Dword,
                                              void* context) {
  if (record->dwID != simconnect::kRecvIdSimObjectData) return;
  const auto* data = static_cast<const simconnect::RecvSimObjectData*>(record);
  const auto* start = reinterpret_cast<const std::uint8_t*>(record);
  const auto* block = reinterpret_cast<const std::uint8_t*>(&data->dwData);
  const auto header = static_cast<std::size_t>(block - start);
  const std::size_t size = record->dwSize > header ? record->dwSize - header : 0;
  static_cast<CPanelClass*>(context)->OnSimObjectData(data->dwRequestID, {block, size});
}

inline void DeliverRecords(CSimConnectLib& sim, CPanelClass& panel) {
  sim.CallDispatch(ForwardObjectData, &panel);
}

// A client event as the simulator received it.
struct Sent {
  std::string name;
  simconnect::Dword datum;

  friend bool operator==(const Sent&, const Sent&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Sent& sent) {
    return out << sent.name << "(" << sent.datum << ")";
  }
};

// The events the simulator received after the first `skip`.
inline std::vector<Sent> TransmittedSince(std::size_t skip) {
  std::vector<Sent> sent;
  const auto all = simstub::TransmittedEvents();
  for (std::size_t i = skip; i < all.size(); ++i) sent.push_back({all[i].name, all[i].datum});
  return sent;
}
