#pragma once

// The client entry points as the library exports them, for programs that link the
// stand-in directly instead of loading it by name.

#include <cstdint>

#include "simlink/SimConnectApi.h"
#include "simstub/Export.h"

extern "C" {

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL
SimConnect_Open(simconnect::Handle* phSimConnect, const char* szName, simconnect::WindowHandle hWnd,
                simconnect::Dword userEventWin32, simconnect::EventHandle hEventHandle,
                simconnect::Dword configIndex) SIMSTUB_SYMBOL(SimConnect_Open);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_Close(simconnect::Handle hSimConnect)
    SIMSTUB_SYMBOL(SimConnect_Close);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_CallDispatch(
    simconnect::Handle hSimConnect, simconnect::DispatchProc pfcnDispatch, void* pContext)
    SIMSTUB_SYMBOL(SimConnect_CallDispatch);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_MapClientEventToSimEvent(
    simconnect::Handle hSimConnect, simconnect::Dword eventId, const char* eventName)
    SIMSTUB_SYMBOL(SimConnect_MapClientEventToSimEvent);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_TransmitClientEvent(
    simconnect::Handle hSimConnect, simconnect::Dword objectId, simconnect::Dword eventId,
    simconnect::Dword dwData, simconnect::Dword groupId, simconnect::Dword flags)
    SIMSTUB_SYMBOL(SimConnect_TransmitClientEvent);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_AddClientEventToNotificationGroup(
    simconnect::Handle hSimConnect, simconnect::Dword groupId, simconnect::Dword eventId,
    std::int32_t bMaskable) SIMSTUB_SYMBOL(SimConnect_AddClientEventToNotificationGroup);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_SetNotificationGroupPriority(
    simconnect::Handle hSimConnect, simconnect::Dword groupId, simconnect::Dword uPriority)
    SIMSTUB_SYMBOL(SimConnect_SetNotificationGroupPriority);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_AddToDataDefinition(
    simconnect::Handle hSimConnect, simconnect::Dword defineId, const char* datumName,
    const char* unitsName, simconnect::Dword datumType, float fEpsilon, simconnect::Dword datumId)
    SIMSTUB_SYMBOL(SimConnect_AddToDataDefinition);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObject(
    simconnect::Handle hSimConnect, simconnect::Dword requestId, simconnect::Dword defineId,
    simconnect::Dword objectId, simconnect::Dword period, simconnect::Dword flags,
    simconnect::Dword origin, simconnect::Dword interval, simconnect::Dword limit)
    SIMSTUB_SYMBOL(SimConnect_RequestDataOnSimObject);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(
    simconnect::Handle hSimConnect, simconnect::Dword requestId, simconnect::Dword defineId,
    simconnect::Dword dwRadiusMeters, simconnect::Dword type)
    SIMSTUB_SYMBOL(SimConnect_RequestDataOnSimObjectType);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(
    simconnect::Handle hSimConnect, simconnect::Dword eventId, const char* systemEventName)
    SIMSTUB_SYMBOL(SimConnect_SubscribeToSystemEvent);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL
SimConnect_UnsubscribeFromSystemEvent(simconnect::Handle hSimConnect, simconnect::Dword eventId)
    SIMSTUB_SYMBOL(SimConnect_UnsubscribeFromSystemEvent);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL SimConnect_RequestSystemState(
    simconnect::Handle hSimConnect, simconnect::Dword requestId, const char* szState)
    SIMSTUB_SYMBOL(SimConnect_RequestSystemState);

SIMSTUB_ENTRY simconnect::HResult SIMCONNECT_CALL
SimConnect_GetLastSentPacketID(simconnect::Handle hSimConnect, simconnect::Dword* pdwError)
    SIMSTUB_SYMBOL(SimConnect_GetLastSentPacketID);
}
