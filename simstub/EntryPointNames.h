#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace simstub {

enum class EntryPoint : std::size_t {
  Open,
  Close,
  CallDispatch,
  MapClientEventToSimEvent,
  TransmitClientEvent,
  AddClientEventToNotificationGroup,
  SetNotificationGroupPriority,
  AddToDataDefinition,
  RequestDataOnSimObject,
  RequestDataOnSimObjectType,
  SubscribeToSystemEvent,
  UnsubscribeFromSystemEvent,
  RequestSystemState,
  GetLastSentPacketID,
};

inline constexpr std::array<std::string_view, 14> kEntryPointNames = {
    "SimConnect_Open",
    "SimConnect_Close",
    "SimConnect_CallDispatch",
    "SimConnect_MapClientEventToSimEvent",
    "SimConnect_TransmitClientEvent",
    "SimConnect_AddClientEventToNotificationGroup",
    "SimConnect_SetNotificationGroupPriority",
    "SimConnect_AddToDataDefinition",
    "SimConnect_RequestDataOnSimObject",
    "SimConnect_RequestDataOnSimObjectType",
    "SimConnect_SubscribeToSystemEvent",
    "SimConnect_UnsubscribeFromSystemEvent",
    "SimConnect_RequestSystemState",
    "SimConnect_GetLastSentPacketID",
};

constexpr std::string_view NameOf(EntryPoint entry) {
  return kEntryPointNames[static_cast<std::size_t>(entry)];
}

constexpr std::optional<EntryPoint> FindEntryPoint(std::string_view name) {
  for (std::size_t i = 0; i < kEntryPointNames.size(); ++i) {
    if (kEntryPointNames[i] == name) return static_cast<EntryPoint>(i);
  }
  return std::nullopt;
}

}  // namespace simstub
