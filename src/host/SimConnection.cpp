// The main window's side of the simulator connection: opening it, and turning every
// record the library hands over into calls on the behaviours.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

#include "host/CMainDlg.h"
#include "host/SessionLog.h"
#include "host/SystemEvents.h"
#include "platform/messages.h"
#include "simlink/CSimConnectLib.h"

namespace {

constexpr const char* kClientName = "Korvane Flight Sim X Plugin";

// The data block of a data record starts at its first data field and runs to the end.
constexpr std::size_t kDataBlockOffset =
    sizeof(simconnect::RecvSimObjectData) - sizeof(simconnect::Dword);

// The first `fixed` bytes of a record of kind `Record`, copied out of the library's bytes,
// which come at whatever address the library chose; the rest stays zero. Nothing when they
// reach beyond `size`.
template <typename Record>
std::optional<Record> FixedFields(const std::uint8_t* bytes, simconnect::Dword size,
                                  std::size_t fixed = sizeof(Record)) {
  if (size < fixed) return std::nullopt;
  Record record{};
  std::memcpy(&record, bytes, fixed);
  return record;
}

}  // namespace

bool CMainDlg::OpenSimConnection() {
  CSimConnectLib& sim = GetSimConnectLib();
  host::LogLibrarySearch(CSimConnectLib::kLibraryName, sim.LibrarySearch());
  const auto opened = sim.Open(kClientName, m_window.Handle(), platform::kWmUser, nullptr, 0);
  host::LogConnection(opened);
  if (opened < 0) return false;
  // Subscriptions made before a refused one stay: the window is refused anyway.
  return std::ranges::all_of(host::kSystemEvents, [&sim](const host::SystemEvent& event) {
    const auto subscribed = sim.SubscribeToSystemEvent(event.id, event.name);
    if (subscribed < 0) host::LogSubscriptionRefused(event.name, subscribed);
    return subscribed >= 0;
  });
}

void SIMCONNECT_CALL CMainDlg::SimDispatchProc(simconnect::Recv* record, simconnect::Dword size,
                                               void* context) {
  if (record) {
    static_cast<CMainDlg*>(context)->OnSimMessage(reinterpret_cast<const std::uint8_t*>(record),
                                                  size);
  }
}

// A record is read only as far as `size` says it reaches: one too short for the fields
// its kind needs is dropped.
void CMainDlg::OnSimMessage(const std::uint8_t* record, simconnect::Dword size) {
  const auto header = FixedFields<simconnect::Recv>(record, size);
  if (!header) return;
  switch (header->dwID) {
    case simconnect::kRecvIdQuit:
      host::LogSimulatorQuit();
      m_window.Destroy();
      return;
    case simconnect::kRecvIdEvent:
      if (const auto event = FixedFields<simconnect::RecvEvent>(record, size)) {
        OnSystemEvent(event->uEventID);
      }
      return;
    case simconnect::kRecvIdSimObjectData: {
      const auto data = FixedFields<simconnect::RecvSimObjectData>(record, size, kDataBlockOffset);
      if (!data) return;
      const std::span block(record + kDataBlockOffset, size - kDataBlockOffset);
      for (CPanelClass* panel : Panels()) panel->OnSimObjectData(data->dwRequestID, block);
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
