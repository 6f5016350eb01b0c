#include "simlink/CSimConnectLib.h"

namespace {

template <typename Fn>
Fn Bind(const platform::Library& library, const char* entryPoint) {
  return reinterpret_cast<Fn>(library.Find(entryPoint));
}

}  // namespace

CSimConnectLib::CSimConnectLib(std::wstring_view libraryName)
    : m_library(platform::Library::Simulator(libraryName)),
      m_open(Bind<simconnect::OpenFn>(m_library, "SimConnect_Open")),
      m_close(Bind<simconnect::CloseFn>(m_library, "SimConnect_Close")),
      m_callDispatch(Bind<simconnect::CallDispatchFn>(m_library, "SimConnect_CallDispatch")),
      m_mapClientEventToSimEvent(Bind<simconnect::MapClientEventToSimEventFn>(
          m_library, "SimConnect_MapClientEventToSimEvent")),
      m_transmitClientEvent(
          Bind<simconnect::TransmitClientEventFn>(m_library, "SimConnect_TransmitClientEvent")),
      m_addClientEventToNotificationGroup(Bind<simconnect::AddClientEventToNotificationGroupFn>(
          m_library, "SimConnect_AddClientEventToNotificationGroup")),
      m_setNotificationGroupPriority(Bind<simconnect::SetNotificationGroupPriorityFn>(
          m_library, "SimConnect_SetNotificationGroupPriority")),
      m_addToDataDefinition(
          Bind<simconnect::AddToDataDefinitionFn>(m_library, "SimConnect_AddToDataDefinition")),
      m_requestDataOnSimObject(Bind<simconnect::RequestDataOnSimObjectFn>(
          m_library, "SimConnect_RequestDataOnSimObject")),
      m_requestDataOnSimObjectType(Bind<simconnect::RequestDataOnSimObjectTypeFn>(
          m_library, "SimConnect_RequestDataOnSimObjectType")),
      m_subscribeToSystemEvent(Bind<simconnect::SubscribeToSystemEventFn>(
          m_library, "SimConnect_SubscribeToSystemEvent")),
      m_unsubscribeFromSystemEvent(Bind<simconnect::UnsubscribeFromSystemEventFn>(
          m_library, "SimConnect_UnsubscribeFromSystemEvent")),
      m_requestSystemState(
          Bind<simconnect::RequestSystemStateFn>(m_library, "SimConnect_RequestSystemState")),
      m_getLastSentPacketID(
          Bind<simconnect::GetLastSentPacketIDFn>(m_library, "SimConnect_GetLastSentPacketID")) {}

template <typename Fn, typename... Args>
CSimConnectLib::HResult CSimConnectLib::Call(Fn entryPoint, Args... args) const {
  if (!m_library.IsLoaded() || entryPoint == nullptr) return platform::kENotImpl;
  return entryPoint(m_hSimConnect, args...);
}

CSimConnectLib::HResult CSimConnectLib::Open(const char* name, simconnect::WindowHandle window,
                                             Dword userMessage, simconnect::EventHandle event,
                                             Dword configIndex) {
  if (!m_library.IsLoaded() || m_open == nullptr) return platform::kENotImpl;
  return m_open(&m_hSimConnect, name, window, userMessage, event, configIndex);
}

CSimConnectLib::HResult CSimConnectLib::Close() {
  return Call(m_close);
}

CSimConnectLib::HResult CSimConnectLib::CallDispatch(simconnect::DispatchProc dispatch,
                                                     void* context) {
  return Call(m_callDispatch, dispatch, context);
}

CSimConnectLib::HResult CSimConnectLib::MapClientEventToSimEvent(Dword eventId,
                                                                 const char* eventName) {
  return Call(m_mapClientEventToSimEvent, eventId, eventName);
}

CSimConnectLib::HResult CSimConnectLib::TransmitClientEvent(Dword objectId, Dword eventId,
                                                            Dword data, Dword groupId,
                                                            Dword flags) {
  return Call(m_transmitClientEvent, objectId, eventId, data, groupId, flags);
}

CSimConnectLib::HResult CSimConnectLib::AddClientEventToNotificationGroup(Dword groupId,
                                                                          Dword eventId,
                                                                          bool maskable) {
  return Call(m_addClientEventToNotificationGroup, groupId, eventId,
              static_cast<std::int32_t>(maskable));
}

CSimConnectLib::HResult CSimConnectLib::SetNotificationGroupPriority(Dword groupId,
                                                                     Dword priority) {
  return Call(m_setNotificationGroupPriority, groupId, priority);
}

CSimConnectLib::HResult CSimConnectLib::AddToDataDefinition(Dword defineId, const char* datumName,
                                                            const char* unitsName, Dword datumType,
                                                            float epsilon, Dword datumId) {
  return Call(m_addToDataDefinition, defineId, datumName, unitsName, datumType, epsilon, datumId);
}

CSimConnectLib::HResult CSimConnectLib::RequestDataOnSimObject(Dword requestId, Dword defineId,
                                                               Dword objectId, Dword period,
                                                               Dword flags, Dword origin,
                                                               Dword interval, Dword limit) {
  return Call(m_requestDataOnSimObject, requestId, defineId, objectId, period, flags, origin,
              interval, limit);
}

CSimConnectLib::HResult CSimConnectLib::RequestDataOnSimObjectType(Dword requestId, Dword defineId,
                                                                   Dword radiusMeters,
                                                                   Dword objectType) {
  return Call(m_requestDataOnSimObjectType, requestId, defineId, radiusMeters, objectType);
}

CSimConnectLib::HResult CSimConnectLib::SubscribeToSystemEvent(Dword eventId,
                                                               const char* systemEventName) {
  return Call(m_subscribeToSystemEvent, eventId, systemEventName);
}

CSimConnectLib::HResult CSimConnectLib::UnsubscribeFromSystemEvent(Dword eventId) {
  return Call(m_unsubscribeFromSystemEvent, eventId);
}

CSimConnectLib::HResult CSimConnectLib::RequestSystemState(Dword requestId, const char* stateName) {
  return Call(m_requestSystemState, requestId, stateName);
}

CSimConnectLib::HResult CSimConnectLib::GetLastSentPacketID(Dword* packetId) {
  return Call(m_getLastSentPacketID, packetId);
}

std::uint32_t CSimConnectLib::NextDefinitionId() {
  return ++m_definitionCounter;
}

std::uint32_t CSimConnectLib::NextEventId() {
  return ++m_eventCounter;
}

CSimConnectLib& GetSimConnectLib() {
  // Deliberately never destroyed: the library stays loaded and the connection open until
  // the process ends.
  static CSimConnectLib* const binding = new CSimConnectLib();
  return *binding;
}
