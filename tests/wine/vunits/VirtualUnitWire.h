#pragma once

// How the test system libraries in the plug-in's process talk to the peer that plays the
// panel units. A unit is a named pipe; every open of its path is a pipe instance of its
// own, and a HID call on a handle is one request message and one answer over that handle.
// The peer's bus pipe lists the units that are present.

#include <windows.h>

#include <cstdint>
#include <string>

namespace vunits {

// The class of every HID interface, as the system's own HID library reports it.
inline constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// Each peer has a bus of its own, named in this variable of the environment that the
// programs it starts inherit, so that checks can run side by side in one Wine session.
inline constexpr wchar_t kBusVariable[] = L"KORVANE_VUNITS_BUS";

// Empty in a program that no peer started: it finds no bus, and so no unit.
inline std::wstring BusPipe() {
  wchar_t name[256] = {};
  const DWORD length = GetEnvironmentVariableW(kBusVariable, name, 256);
  return length < 256 ? name : L"";
}

inline constexpr std::uint32_t kMaxMessage = 4096;

enum class Request : std::uint8_t {
  Attributes = 1,  // answer: AttributesAnswer
  Caps,            // answer: CapsAnswer
  SetFeature,      // request: the report bytes; answer: Status
  GetFeature,      // request: the report length as std::uint16_t; answer: Status, the bytes
  ListUnits,       // bus only; answer: the paths, each ended by a null character
};

enum class Status : std::uint8_t { Ok = 1, Failed };

struct AttributesAnswer {
  Status status;
  std::uint16_t vendorId;
  std::uint16_t productId;
  std::uint16_t versionNumber;
};

struct CapsAnswer {
  Status status;
  std::uint16_t inputReportLength;
  std::uint16_t outputReportLength;
  std::uint16_t featureReportLength;
};

}  // namespace vunits
