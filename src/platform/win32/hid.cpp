#include "platform/hid.h"

#include <windows.h>
// The HID headers need the Windows types first, and do not declare C linkage themselves.
extern "C" {
#include <hidsdi.h>
// clang-format off: hidpi.h needs the types hidsdi.h brings
#include <hidpi.h>
// clang-format on
}

#include <string>

#include "platform/win32/event_handle.h"

namespace platform {

namespace {

void* OpenUnit(std::wstring_view path, DWORD flags) {
  HANDLE handle =
      CreateFileW(std::wstring(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

void CloseUnit(void* handle) {
  if (handle) CloseHandle(handle);
}

// Waiting on several objects at once, in the order given; the first signalled one wins.
DWORD WaitEither(HANDLE first, HANDLE second) {
  const HANDLE handles[] = {first, second};
  return WaitForMultipleObjects(2, handles, FALSE, INFINITE);
}

}  // namespace

HidDevice::HidDevice(std::wstring_view path) : handle_(OpenUnit(path, 0)) {}
HidDevice::~HidDevice() {
  CloseUnit(handle_);
}

bool HidDevice::GetAttributes(HidAttributes& attributes) const {
  HIDD_ATTRIBUTES record{};
  record.Size = sizeof(record);
  if (!HidD_GetAttributes(handle_, &record)) return false;
  attributes = {record.VendorID, record.ProductID, record.VersionNumber};
  return true;
}

bool HidDevice::GetCaps(HidCaps& caps) const {
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!HidD_GetPreparsedData(handle_, &preparsed)) return false;
  HIDP_CAPS record{};
  const NTSTATUS status = HidP_GetCaps(preparsed, &record);
  HidD_FreePreparsedData(preparsed);
  if (status != HIDP_STATUS_SUCCESS) return false;
  caps = {record.Usage, record.UsagePage, record.InputReportByteLength,
          record.OutputReportByteLength, record.FeatureReportByteLength};
  return true;
}

bool HidDevice::SetFeature(std::span<const std::uint8_t> report) const {
  // The call does not write to the buffer; its prototype just lacks the const.
  return HidD_SetFeature(handle_, const_cast<std::uint8_t*>(report.data()),
                         static_cast<ULONG>(report.size()));
}

bool HidDevice::GetFeature(std::span<std::uint8_t> report) const {
  return HidD_GetFeature(handle_, report.data(), static_cast<ULONG>(report.size()));
}

HidReader::HidReader(std::wstring_view path) : handle_(OpenUnit(path, FILE_FLAG_OVERLAPPED)) {}
HidReader::~HidReader() {
  CloseUnit(handle_);
}

HidReader::Outcome HidReader::Read(std::span<std::uint8_t> buffer, Event& stop,
                                   std::uint32_t& bytesRead) {
  HANDLE stopHandle = NativeHandle(stop);
  // A stop that came first is honoured before the next read starts: when a report and the
  // stop are both signalled the wait below returns the report, so a unit that keeps
  // sending would otherwise never let its reader go.
  if (WaitForSingleObject(stopHandle, 0) == WAIT_OBJECT_0) return Outcome::Stopped;
  EventHandle readDone;
  if (!readDone) {
    // Without an event there is no read; try again in a second unless told to stop.
    return WaitForSingleObject(stopHandle, 1000) == WAIT_OBJECT_0 ? Outcome::Stopped
                                                                  : Outcome::Failed;
  }
  OVERLAPPED overlapped{};
  overlapped.hEvent = readDone.get();
  if (!ReadFile(handle_, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &overlapped) &&
      GetLastError() != ERROR_IO_PENDING) {
    // The read never started (the unit is gone): nothing will signal its event, and waiting
    // for its result would never return. Only the stop can end this read.
    WaitForSingleObject(stopHandle, INFINITE);
    return Outcome::Stopped;
  }
  DWORD transferred = 0;
  if (WaitEither(readDone.get(), stopHandle) != WAIT_OBJECT_0) {
    // The read may still complete into the buffer: cancel it and wait until it has ended.
    CancelIo(handle_);
    GetOverlappedResult(handle_, &overlapped, &transferred, TRUE);
    return Outcome::Stopped;
  }
  if (!GetOverlappedResult(handle_, &overlapped, &transferred, FALSE)) return Outcome::Failed;
  bytesRead = transferred;
  return Outcome::Report;
}

}  // namespace platform
