#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "platform/library.h"
#include "platform/result.h"
#include "simlink/SimConnectApi.h"

// The process's binding to the simulator client library, loaded at run time: by name, or on
// Windows from the simulator's side-by-side store.
// Every operation answers E_NOTIMPL when the library or its entry point is missing, so
// a machine without the simulator needs no special path: opening the connection fails.
class CSimConnectLib {
 public:
  using HResult = platform::HResult;
  using Dword = simconnect::Dword;

  static constexpr std::wstring_view kLibraryName = L"SimConnect.dll";

  explicit CSimConnectLib(std::wstring_view libraryName = kLibraryName);
  CSimConnectLib(const CSimConnectLib&) = delete;
  CSimConnectLib& operator=(const CSimConnectLib&) = delete;

  HResult Open(const char* name, simconnect::WindowHandle window, Dword userMessage,
               simconnect::EventHandle event, Dword configIndex);
  HResult Close();
  HResult CallDispatch(simconnect::DispatchProc dispatch, void* context);
  HResult MapClientEventToSimEvent(Dword eventId, const char* eventName);
  HResult TransmitClientEvent(Dword objectId, Dword eventId, Dword data, Dword groupId,
                              Dword flags);
  HResult AddClientEventToNotificationGroup(Dword groupId, Dword eventId, bool maskable);
  HResult SetNotificationGroupPriority(Dword groupId, Dword priority);
  HResult AddToDataDefinition(Dword defineId, const char* datumName, const char* unitsName,
                              Dword datumType, float epsilon, Dword datumId);
  HResult RequestDataOnSimObject(Dword requestId, Dword defineId, Dword objectId, Dword period,
                                 Dword flags, Dword origin, Dword interval, Dword limit);
  HResult RequestDataOnSimObjectType(Dword requestId, Dword defineId, Dword radiusMeters,
                                     Dword objectType);
  HResult SubscribeToSystemEvent(Dword eventId, const char* systemEventName);
  HResult UnsubscribeFromSystemEvent(Dword eventId);
  HResult RequestSystemState(Dword requestId, const char* stateName);
  HResult GetLastSentPacketID(Dword* packetId);

  // How the library was looked for and found, or not.
  const platform::LibrarySearch& LibrarySearch() const { return m_library.Search(); }

  // Identifiers unique in the process, whichever thread asks; the first of each is 2.
  std::uint32_t NextDefinitionId();
  std::uint32_t NextEventId();

 private:
  template <typename Fn, typename... Args>
  HResult Call(Fn entryPoint, Args... args) const;

  simconnect::Handle m_hSimConnect = nullptr;
  platform::Library m_library;
  // In the order they are looked up.
  simconnect::OpenFn m_open;
  simconnect::CloseFn m_close;
  simconnect::CallDispatchFn m_callDispatch;
  simconnect::MapClientEventToSimEventFn m_mapClientEventToSimEvent;
  simconnect::TransmitClientEventFn m_transmitClientEvent;
  simconnect::AddClientEventToNotificationGroupFn m_addClientEventToNotificationGroup;
  simconnect::SetNotificationGroupPriorityFn m_setNotificationGroupPriority;
  simconnect::AddToDataDefinitionFn m_addToDataDefinition;
  simconnect::RequestDataOnSimObjectFn m_requestDataOnSimObject;
  simconnect::RequestDataOnSimObjectTypeFn m_requestDataOnSimObjectType;
  simconnect::SubscribeToSystemEventFn m_subscribeToSystemEvent;
  simconnect::UnsubscribeFromSystemEventFn m_unsubscribeFromSystemEvent;
  simconnect::RequestSystemStateFn m_requestSystemState;
  simconnect::GetLastSentPacketIDFn m_getLastSentPacketID;
  std::atomic<std::uint32_t> m_definitionCounter{1};
  std::atomic<std::uint32_t> m_eventCounter{1};
};

// The process-wide binding; the first call loads the library. It is never unloaded.
CSimConnectLib& GetSimConnectLib();
