#pragma once

// Our own declarations of the simulator client library's C interface: the records the
// plug-in reads and the fourteen entry points it binds. Every field is 32 bits wide, so
// the layouts are the same in 32- and 64-bit builds.

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define SIMCONNECT_CALL __stdcall
#else
#define SIMCONNECT_CALL
#endif

namespace simconnect {

using Handle = void*;
using WindowHandle = void*;
using EventHandle = void*;
using HResult = std::int32_t;
using Dword = std::uint32_t;

enum RecvId : Dword {
  kRecvIdNull = 0,
  kRecvIdException = 1,
  kRecvIdOpen = 2,
  kRecvIdQuit = 3,
  kRecvIdEvent = 4,
  kRecvIdSimObjectData = 8,
};

enum DataType : Dword {
  kDataTypeInt32 = 1,
  kDataTypeFloat32 = 3,
};

inline constexpr Dword kObjectIdUser = 0;
inline constexpr Dword kPeriodSimFrame = 3;
inline constexpr Dword kDataRequestFlagChanged = 1;
inline constexpr Dword kGroupPriorityHighest = 1;

struct Recv {
  Dword dwSize;
  Dword dwVersion;
  Dword dwID;
};

struct RecvEvent : Recv {
  Dword uGroupID;
  Dword uEventID;
  Dword dwData;
};

struct RecvSimObjectData : Recv {
  Dword dwRequestID;
  Dword dwObjectID;
  Dword dwDefineID;
  Dword dwFlags;
  Dword dwentrynumber;
  Dword dwoutof;
  Dword dwDefineCount;
  Dword dwData;  // first data field; the data block runs to the end of the record
};

using DispatchProc = void(SIMCONNECT_CALL*)(Recv* data, Dword cbData, void* context);

using OpenFn = HResult(SIMCONNECT_CALL*)(Handle* phSimConnect, const char* szName,
                                         WindowHandle hWnd, Dword userEventWin32,
                                         EventHandle hEventHandle, Dword configIndex);
using CloseFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect);
using CallDispatchFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, DispatchProc pfcnDispatch,
                                                 void* pContext);
using MapClientEventToSimEventFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword eventId,
                                                             const char* eventName);
using TransmitClientEventFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword objectId,
                                                        Dword eventId, Dword dwData, Dword groupId,
                                                        Dword flags);
using AddClientEventToNotificationGroupFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect,
                                                                      Dword groupId, Dword eventId,
                                                                      std::int32_t bMaskable);
using SetNotificationGroupPriorityFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword groupId,
                                                                 Dword uPriority);
using AddToDataDefinitionFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword defineId,
                                                        const char* datumName,
                                                        const char* unitsName, Dword datumType,
                                                        float fEpsilon, Dword datumId);
using RequestDataOnSimObjectFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword requestId,
                                                           Dword defineId, Dword objectId,
                                                           Dword period, Dword flags, Dword origin,
                                                           Dword interval, Dword limit);
using RequestDataOnSimObjectTypeFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword requestId,
                                                               Dword defineId, Dword dwRadiusMeters,
                                                               Dword type);
using SubscribeToSystemEventFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword eventId,
                                                           const char* systemEventName);
using UnsubscribeFromSystemEventFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword eventId);
using RequestSystemStateFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword requestId,
                                                       const char* szState);
using GetLastSentPacketIDFn = HResult(SIMCONNECT_CALL*)(Handle hSimConnect, Dword* pdwError);

}  // namespace simconnect
