#include "simstub/EntryPoints.h"

#include <type_traits>

#include "simstub/Session.h"

using simconnect::Dword;
using simconnect::Handle;
using simconnect::HResult;
using simstub::TheSession;

// A calling convention or argument type that differs from the client's declarations
// would corrupt the stack on 32-bit Windows; catch it at compile time instead.
static_assert(std::is_same_v<decltype(&SimConnect_Open), simconnect::OpenFn>);
static_assert(std::is_same_v<decltype(&SimConnect_Close), simconnect::CloseFn>);
static_assert(std::is_same_v<decltype(&SimConnect_CallDispatch), simconnect::CallDispatchFn>);
static_assert(std::is_same_v<decltype(&SimConnect_MapClientEventToSimEvent),
                             simconnect::MapClientEventToSimEventFn>);
static_assert(
    std::is_same_v<decltype(&SimConnect_TransmitClientEvent), simconnect::TransmitClientEventFn>);
static_assert(std::is_same_v<decltype(&SimConnect_AddClientEventToNotificationGroup),
                             simconnect::AddClientEventToNotificationGroupFn>);
static_assert(std::is_same_v<decltype(&SimConnect_SetNotificationGroupPriority),
                             simconnect::SetNotificationGroupPriorityFn>);
static_assert(
    std::is_same_v<decltype(&SimConnect_AddToDataDefinition), simconnect::AddToDataDefinitionFn>);
static_assert(std::is_same_v<decltype(&SimConnect_RequestDataOnSimObject),
                             simconnect::RequestDataOnSimObjectFn>);
static_assert(std::is_same_v<decltype(&SimConnect_RequestDataOnSimObjectType),
                             simconnect::RequestDataOnSimObjectTypeFn>);
static_assert(std::is_same_v<decltype(&SimConnect_SubscribeToSystemEvent),
                             simconnect::SubscribeToSystemEventFn>);
static_assert(std::is_same_v<decltype(&SimConnect_UnsubscribeFromSystemEvent),
                             simconnect::UnsubscribeFromSystemEventFn>);
static_assert(
    std::is_same_v<decltype(&SimConnect_RequestSystemState), simconnect::RequestSystemStateFn>);
static_assert(
    std::is_same_v<decltype(&SimConnect_GetLastSentPacketID), simconnect::GetLastSentPacketIDFn>);

extern "C" {

HResult SIMCONNECT_CALL SimConnect_Open(Handle* phSimConnect, const char* szName,
                                        simconnect::WindowHandle hWnd, Dword userEventWin32,
                                        simconnect::EventHandle hEventHandle, Dword configIndex) {
  return TheSession().Open(phSimConnect, szName, hWnd, userEventWin32, hEventHandle, configIndex);
}

HResult SIMCONNECT_CALL SimConnect_Close(Handle hSimConnect) {
  return TheSession().Close(hSimConnect);
}

HResult SIMCONNECT_CALL SimConnect_CallDispatch(Handle hSimConnect,
                                                simconnect::DispatchProc pfcnDispatch,
                                                void* pContext) {
  return TheSession().CallDispatch(hSimConnect, pfcnDispatch, pContext);
}

HResult SIMCONNECT_CALL SimConnect_MapClientEventToSimEvent(Handle hSimConnect, Dword eventId,
                                                            const char* eventName) {
  return TheSession().MapClientEventToSimEvent(hSimConnect, eventId, eventName);
}

HResult SIMCONNECT_CALL SimConnect_TransmitClientEvent(Handle hSimConnect, Dword objectId,
                                                       Dword eventId, Dword dwData, Dword groupId,
                                                       Dword flags) {
  return TheSession().TransmitClientEvent(hSimConnect, objectId, eventId, dwData, groupId, flags);
}

HResult SIMCONNECT_CALL SimConnect_AddClientEventToNotificationGroup(Handle hSimConnect,
                                                                     Dword groupId, Dword eventId,
                                                                     std::int32_t bMaskable) {
  return TheSession().AddClientEventToNotificationGroup(hSimConnect, groupId, eventId, bMaskable);
}

HResult SIMCONNECT_CALL SimConnect_SetNotificationGroupPriority(Handle hSimConnect, Dword groupId,
                                                                Dword uPriority) {
  return TheSession().SetNotificationGroupPriority(hSimConnect, groupId, uPriority);
}

HResult SIMCONNECT_CALL SimConnect_AddToDataDefinition(Handle hSimConnect, Dword defineId,
                                                       const char* datumName, const char* unitsName,
                                                       Dword datumType, float fEpsilon,
                                                       Dword datumId) {
  return TheSession().AddToDataDefinition(hSimConnect, defineId, datumName, unitsName, datumType,
                                          fEpsilon, datumId);
}

HResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObject(Handle hSimConnect, Dword requestId,
                                                          Dword defineId, Dword objectId,
                                                          Dword period, Dword flags, Dword origin,
                                                          Dword interval, Dword limit) {
  return TheSession().RequestDataOnSimObject(hSimConnect, requestId, defineId, objectId, period,
                                             flags, origin, interval, limit);
}

HResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(Handle hSimConnect, Dword requestId,
                                                              Dword defineId, Dword dwRadiusMeters,
                                                              Dword type) {
  return TheSession().RequestDataOnSimObjectType(hSimConnect, requestId, defineId, dwRadiusMeters,
                                                 type);
}

HResult SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(Handle hSimConnect, Dword eventId,
                                                          const char* systemEventName) {
  return TheSession().SubscribeToSystemEvent(hSimConnect, eventId, systemEventName);
}

HResult SIMCONNECT_CALL SimConnect_UnsubscribeFromSystemEvent(Handle hSimConnect, Dword eventId) {
  return TheSession().UnsubscribeFromSystemEvent(hSimConnect, eventId);
}

HResult SIMCONNECT_CALL SimConnect_RequestSystemState(Handle hSimConnect, Dword requestId,
                                                      const char* szState) {
  return TheSession().RequestSystemState(hSimConnect, requestId, szState);
}

HResult SIMCONNECT_CALL SimConnect_GetLastSentPacketID(Handle hSimConnect, Dword* pdwError) {
  return TheSession().GetLastSentPacketID(hSimConnect, pdwError);
}
}
