// The HID library the programs import, for their checks under Wine: every call on a unit
// handle becomes a request to the peer that plays the unit.

#include <windows.h>
extern "C" {
#include <hidsdi.h>
// clang-format off: hidpi.h needs the types hidsdi.h brings
#include <hidpi.h>
// clang-format on
}

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "UnitRequest.h"
#include "VirtualUnitWire.h"

namespace {

using vunits::Request;
using vunits::Status;

// What a caps query answered, handed out as the unit's pre-parsed data.
struct Preparsed {
  vunits::CapsAnswer caps;
};

template <typename Answer>
bool Ask(HANDLE unit, Request request, Answer& answer) {
  const std::array<std::uint8_t, 1> message{static_cast<std::uint8_t>(request)};
  std::array<std::uint8_t, sizeof(Answer)> bytes{};
  DWORD length = 0;
  if (!vunits::Exchange(unit, message, bytes, length) || length != sizeof(Answer)) return false;
  std::memcpy(&answer, bytes.data(), sizeof(Answer));
  return answer.status == Status::Ok;
}

}  // namespace

extern "C" {

void NTAPI HidD_GetHidGuid(LPGUID guid) {
  *guid = vunits::kHidInterfaceClass;
}

BOOLEAN NTAPI HidD_GetAttributes(HANDLE device, PHIDD_ATTRIBUTES attributes) {
  vunits::AttributesAnswer answer{};
  if (!Ask(device, Request::Attributes, answer)) return FALSE;
  attributes->VendorID = answer.vendorId;
  attributes->ProductID = answer.productId;
  attributes->VersionNumber = answer.versionNumber;
  return TRUE;
}

BOOLEAN NTAPI HidD_GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsed) {
  Preparsed answer{};
  if (!Ask(device, Request::Caps, answer.caps)) return FALSE;
  *preparsed = reinterpret_cast<PHIDP_PREPARSED_DATA>(new Preparsed(answer));
  return TRUE;
}

BOOLEAN NTAPI HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsed) {
  delete reinterpret_cast<Preparsed*>(preparsed);
  return TRUE;
}

NTSTATUS NTAPI HidP_GetCaps(PHIDP_PREPARSED_DATA preparsed, PHIDP_CAPS caps) {
  const auto& answer = reinterpret_cast<const Preparsed*>(preparsed)->caps;
  *caps = {};
  caps->InputReportByteLength = answer.inputReportLength;
  caps->OutputReportByteLength = answer.outputReportLength;
  caps->FeatureReportByteLength = answer.featureReportLength;
  return HIDP_STATUS_SUCCESS;
}

BOOLEAN NTAPI HidD_SetFeature(HANDLE device, PVOID report, ULONG length) {
  if (length + 1 > vunits::kMaxMessage) return FALSE;
  std::vector<std::uint8_t> message{static_cast<std::uint8_t>(Request::SetFeature)};
  const auto* bytes = static_cast<const std::uint8_t*>(report);
  message.insert(message.end(), bytes, bytes + length);
  std::array<std::uint8_t, 1> answer{};
  DWORD answerLength = 0;
  return vunits::Exchange(device, message, answer, answerLength) && answerLength == 1 &&
         answer[0] == static_cast<std::uint8_t>(Status::Ok);
}

BOOLEAN NTAPI HidD_GetFeature(HANDLE device, PVOID report, ULONG length) {
  if (length + 1 > vunits::kMaxMessage) return FALSE;
  const std::uint16_t wanted = static_cast<std::uint16_t>(length);
  std::array<std::uint8_t, 3> message{static_cast<std::uint8_t>(Request::GetFeature)};
  std::memcpy(&message[1], &wanted, sizeof(wanted));
  std::vector<std::uint8_t> answer(length + 1);
  DWORD answerLength = 0;
  if (!vunits::Exchange(device, message, answer, answerLength) || answerLength != length + 1 ||
      answer[0] != static_cast<std::uint8_t>(Status::Ok)) {
    return FALSE;
  }
  std::copy(answer.begin() + 1, answer.end(), static_cast<std::uint8_t*>(report));
  return TRUE;
}

}  // extern "C"
