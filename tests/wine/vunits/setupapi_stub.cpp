// The device setup library the plug-in imports, for its checks under Wine: the present
// HID interfaces are the units the peer's bus lists.

#include <windows.h>
// The library's own declarations, without the import attribute.
#define _SETUPAPI_
#include <setupapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "VirtualUnitWire.h"

namespace {

using Paths = std::vector<std::wstring>;

// The bus answers one question per connection; a busy bus is waited for, an absent one
// means that no unit is present.
Paths PresentUnits() {
  const std::wstring name = vunits::BusPipe();
  HANDLE bus = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 50 && bus == INVALID_HANDLE_VALUE; ++attempt) {
    bus = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                      nullptr);
    if (bus == INVALID_HANDLE_VALUE && GetLastError() != ERROR_PIPE_BUSY) return {};
    if (bus == INVALID_HANDLE_VALUE) WaitNamedPipeW(name.c_str(), 200);
  }
  if (bus == INVALID_HANDLE_VALUE) return {};
  DWORD mode = PIPE_READMODE_MESSAGE;
  SetNamedPipeHandleState(bus, &mode, nullptr, nullptr);
  const auto request = static_cast<std::uint8_t>(vunits::Request::ListUnits);
  std::vector<wchar_t> answer(vunits::kMaxMessage);
  DWORD written = 0;
  DWORD length = 0;
  const bool answered =
      WriteFile(bus, &request, 1, &written, nullptr) &&
      ReadFile(bus, answer.data(), static_cast<DWORD>(answer.size() * sizeof(wchar_t)), &length,
               nullptr);
  CloseHandle(bus);
  Paths paths;
  if (!answered) return paths;
  const wchar_t* next = answer.data();
  const wchar_t* end = answer.data() + length / sizeof(wchar_t);
  while (next < end) {
    paths.emplace_back(next);
    next += paths.back().size() + 1;
  }
  return paths;
}

Paths* ListOf(HDEVINFO list) {
  return static_cast<Paths*>(list);
}

}  // namespace

extern "C" {

HDEVINFO WINAPI SetupDiGetClassDevsW(const GUID*, PCWSTR, HWND, DWORD) {
  return new Paths(PresentUnits());
}

WINBOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO list, PSP_DEVINFO_DATA, const GUID* guid,
                                           DWORD index, PSP_DEVICE_INTERFACE_DATA data) {
  if (index >= ListOf(list)->size() || data->cbSize != sizeof(*data)) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  data->InterfaceClassGuid = *guid;
  data->Flags = SPINT_ACTIVE;
  data->Reserved = index;
  return TRUE;
}

WINBOOL WINAPI SetupDiGetDeviceInterfaceDetailW(HDEVINFO list, PSP_DEVICE_INTERFACE_DATA data,
                                                PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail,
                                                DWORD detailSize, PDWORD requiredSize,
                                                PSP_DEVINFO_DATA) {
  const std::wstring& path = ListOf(list)->at(data->Reserved);
  const DWORD required =
      static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) +
                         (path.size() + 1) * sizeof(wchar_t));
  if (requiredSize) *requiredSize = required;
  if (!detail || detailSize < required) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
    SetLastError(ERROR_INVALID_USER_BUFFER);
    return FALSE;
  }
  std::memcpy(detail->DevicePath, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
  return TRUE;
}

WINBOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO list) {
  delete ListOf(list);
  return TRUE;
}

}  // extern "C"
