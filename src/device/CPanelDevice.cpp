#include "device/CPanelDevice.h"

#include <algorithm>
#include <new>

#include "device/CPanelClass.h"
#include "eventlog/ProcessLog.h"

CPanelDevice::CPanelDevice(std::uint32_t readerStopTimeoutMs)
    : m_readerStopTimeoutMs(readerStopTimeoutMs) {}

CPanelDevice::~CPanelDevice() {
  Close();
}

bool CPanelDevice::Open(const std::wstring& path, CPanelClass& owner) {
  if (m_owner) return false;
  // A reader started without its stop event could never be told to end.
  if (!m_stop.IsValid()) return false;
  m_owner = &owner;
  m_path = path;
  m_sync = std::make_unique<platform::HidDevice>(path);
  if (!m_sync->IsOpen()) return false;
  if (!m_sync->GetCaps(m_caps)) return false;
  m_owner->OnDeviceOpened(*this);
  m_input = std::make_unique<platform::HidReader>(path);
  if (m_reader.Start([this] { ReaderThread(this); })) return true;
  // The unit shows its first outputs but nobody will keep them up to date: it is left as a
  // stopped unit looks.
  m_owner->OnDeviceStopping(*this);
  return false;
}

void CPanelDevice::Close() {
  if (m_reader.IsRunning()) {
    m_stop.Signal();
    if (!m_reader.Join(m_readerStopTimeoutMs)) {
      m_reader.Terminate();
      eventlog::Warning(L"The reader of the unit at " + m_path + L" did not stop within " +
                        std::to_wstring(m_readerStopTimeoutMs) + L" ms and was terminated.");
      // The killed reader may have died holding the unit's guard, and destroying a held
      // lock is undefined: it is left allocated, never to be used again.
      static_cast<void>(m_guard.release());
    }
  }
  // Closed even after a kill: a handle left open would keep an unplugged unit from ever
  // finishing its removal.
  m_input.reset();
  m_sync.reset();
  // No guard: the reader has ended, or was killed and may have died holding it.
  m_lastFeatureReport.clear();
  m_path.clear();
  m_values.clear();
}

void CPanelDevice::ReaderThread(CPanelDevice* device) {
  platform::HidReader& reader = *device->m_input;
  if (!reader.IsOpen()) return;
  // Without memory for its reports the reader ends quietly; an exception would end the
  // whole process from this thread.
  const std::size_t length = device->m_caps.inputReportByteLength;
  const std::unique_ptr<std::uint8_t[]> currentBytes(new (std::nothrow) std::uint8_t[length]());
  const std::unique_ptr<std::uint8_t[]> previousBytes(new (std::nothrow) std::uint8_t[length]());
  if (!currentBytes || !previousBytes) return;
  const std::span current(currentBytes.get(), length);
  const std::span previous(previousBytes.get(), length);
  for (;;) {
    std::uint32_t bytesRead = 0;
    const auto outcome = reader.Read(current, device->m_stop, bytesRead);
    if (outcome == platform::HidReader::Outcome::Stopped) break;
    if (outcome == platform::HidReader::Outcome::Report) {
      device->m_owner->OnInputReport(*device, bytesRead, previous, current);
      std::ranges::copy(current, previous.begin());
    }
  }
  device->m_owner->OnDeviceStopping(*device);
}

std::int32_t CPanelDevice::GetValue(std::int32_t key) const {
  std::lock_guard lock(*m_guard);
  auto found = m_values.find(key);
  return found == m_values.end() ? 0 : found->second;
}

void CPanelDevice::SetValue(std::int32_t key, std::int32_t value) {
  std::lock_guard lock(*m_guard);
  m_values[key] = value;
}

bool CPanelDevice::HasOutputChanged(std::span<const std::uint8_t> report) {
  if (report.empty()) return true;
  std::lock_guard lock(*m_guard);
  if (std::ranges::equal(report, m_lastFeatureReport)) return false;
  try {
    m_lastFeatureReport.assign(report.begin(), report.end());
  } catch (const std::bad_alloc&) {
    // Nothing kept: the next report passes again, which costs a write and loses nothing.
    m_lastFeatureReport.clear();
  }
  return true;
}
