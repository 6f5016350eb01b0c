// The main window's side of the simulator connection: opening it, and turning every
// record the library hands over into calls on the behaviours.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "host/CMainDlg.h"
#include "host/SystemEvents.h"
#include "platform/messages.h"
#include "simlink/CSimConnectLib.h"

namespace {

constexpr const char* kClientName = "Korvane Flight Sim X Plugin";

// Where a data record's data block starts: at its first data field.
std::size_t DataBlockOffset(const simconnect::RecvSimObjectData& record) {
  return static_cast<std::size_t>(reinterpret_cast<const std::uint8_t*>(&record.dwData) -
                                  reinterpret_cast<const std::uint8_t*>(&record));
}

}  // namespace

bool CMainDlg::OpenSimConnection() {
  CSimConnectLib& sim = GetSimConnectLib();
  if (sim.Open(kClientName, m_window.Handle(), platform::kWmUser, nullptr, 0) < 0) return false;
  // Subscriptions made before a refused one stay: the window is refused anyway.
  return std::ranges::all_of(host::kSystemEvents, [&sim](const host::SystemEvent& event) {
    return sim.SubscribeToSystemEvent(event.id, event.name) >= 0;
  });
}

void SIMCONNECT_CALL CMainDlg::SimDispatchProc(simconnect::Recv* record, simconnect::Dword size,
                                               void* context) {
  if (record) static_cast<CMainDlg*>(context)->OnSimMessage(*record, size);
}

// A record is read only as far as `size` says it reaches: one too short for the fields
// its kind needs is dropped.
void CMainDlg::OnSimMessage(const simconnect::Recv& record, simconnect::Dword size) {
  if (size < sizeof(simconnect::Recv)) return;
  switch (record.dwID) {
    case simconnect::kRecvIdQuit:
      m_window.Destroy();
      return;
    case simconnect::kRecvIdEvent:
      if (size < sizeof(simconnect::RecvEvent)) return;
      OnSystemEvent(static_cast<const simconnect::RecvEvent&>(record).uEventID);
      return;
    case simconnect::kRecvIdSimObjectData: {
      const auto& data = static_cast<const simconnect::RecvSimObjectData&>(record);
      const std::size_t offset = DataBlockOffset(data);
      if (size < offset) return;
      const std::span block(reinterpret_cast<const std::uint8_t*>(&record) + offset, size - offset);
      for (CPanelClass* panel : Panels()) panel->OnSimObjectData(data.dwRequestID, block);
      return;
    }
    default:
      return;
  }
}

void CMainDlg::OnSystemEvent(simconnect::Dword eventId) {
  const auto event = std::ranges::find(host::kSystemEvents, eventId, &host::SystemEvent::id);
  if (event == host::kSystemEvents.end() || !event->startsDataRequests) return;
  for (CPanelClass* panel : Panels()) panel->StartDataRequest();
}
