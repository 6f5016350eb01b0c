#include "platform/hid.h"

#include <algorithm>
#include <atomic>

#include "platform/posix/kernel.h"
#include "platform/posix/kernel_faults.h"
#include "platform/posix/virtual_hid_bus_state.h"

namespace platform {

using posix::KernelLock;
using posix::KernelWake;
using vhid::Fault;
using vhid::VirtualDevice;

namespace {

struct OpenHandle {
  std::shared_ptr<VirtualDevice> device;
};

void* OpenUnit(std::wstring_view path) {
  std::lock_guard lock(KernelLock());
  auto device = vhid::FindPlugged(std::wstring(path));
  if (!device || device->Faulty(Fault::Open)) return nullptr;
  ++device->openHandles;
  return new OpenHandle{device};
}

void CloseUnit(void* handle) {
  if (!handle) return;
  auto* open = static_cast<OpenHandle*>(handle);
  {
    std::lock_guard lock(KernelLock());
    --open->device->openHandles;
    KernelWake().notify_all();
  }
  delete open;
}

VirtualDevice& Unit(void* handle) {
  return *static_cast<OpenHandle*>(handle)->device;
}

std::atomic<std::uint64_t> g_readerWakeups{0};

}  // namespace

std::uint64_t vhid::ReaderWakeups() {
  return g_readerWakeups;
}

HidDevice::HidDevice(std::wstring_view path) : handle_(OpenUnit(path)) {}
HidDevice::~HidDevice() {
  CloseUnit(handle_);
}

bool HidDevice::GetAttributes(HidAttributes& attributes) const {
  std::lock_guard lock(KernelLock());
  VirtualDevice& unit = Unit(handle_);
  if (!unit.plugged || unit.Faulty(Fault::Attributes)) return false;
  attributes = {unit.profile.vendorId, unit.profile.productId, 0x0100};
  return true;
}

bool HidDevice::GetCaps(HidCaps& caps) const {
  std::lock_guard lock(KernelLock());
  VirtualDevice& unit = Unit(handle_);
  if (!unit.plugged || unit.Faulty(Fault::Capabilities)) return false;
  caps = {};
  caps.inputReportByteLength = unit.profile.inputReportLength;
  caps.featureReportByteLength = unit.profile.featureReportLength;
  return true;
}

bool HidDevice::SetFeature(std::span<const std::uint8_t> report) const {
  posix::EndIfKilled();
  std::lock_guard lock(KernelLock());
  VirtualDevice& unit = Unit(handle_);
  if (!unit.plugged || unit.Faulty(Fault::SetFeature)) return false;
  unit.featureLog.emplace_back(report.begin(), report.end());
  return true;
}

bool HidDevice::GetFeature(std::span<std::uint8_t> report) const {
  posix::EndIfKilled();
  std::lock_guard lock(KernelLock());
  VirtualDevice& unit = Unit(handle_);
  if (!unit.plugged || unit.Faulty(Fault::GetFeature)) return false;
  std::fill(report.begin(), report.end(), 0);
  std::copy_n(unit.featureAnswer.begin(), std::min(report.size(), unit.featureAnswer.size()),
              report.begin());
  return true;
}

HidReader::HidReader(std::wstring_view path) : handle_(OpenUnit(path)) {}
HidReader::~HidReader() {
  CloseUnit(handle_);
}

HidReader::Outcome HidReader::Read(std::span<std::uint8_t> buffer, Event& stop,
                                   std::uint32_t& bytesRead) {
  posix::EndIfKilled();
  // As on Windows: a wait on a stop event that does not exist fails at once and ends the
  // read, and a read without an event of its own is tried again a second later.
  if (!stop.IsValid()) return Outcome::Stopped;
  if (posix::KernelFaulty(posix::KernelFault::EventCreation)) {
    return stop.Wait(1000) ? Outcome::Stopped : Outcome::Failed;
  }
  std::unique_lock lock(KernelLock());
  VirtualDevice& unit = Unit(handle_);
  auto& stopped = stop.impl().signalled;
  // A stop that came first is honoured before the next read starts: a unit that always has
  // a report waiting must not keep its reader from ever seeing it.
  if (stopped) {
    stopped = false;
    return Outcome::Stopped;
  }
  // A read on a unit that is gone never starts, so only the stop event can end the wait.
  const bool readStarted = unit.plugged;
  ++unit.waitingReaders;
  KernelWake().notify_all();
  stop.impl().reader = &unit.readerWake;
  while (!stopped && !(readStarted && (!unit.pendingInput.empty() || !unit.plugged))) {
    unit.readerWake.wait(lock);
    g_readerWakeups.fetch_add(1, std::memory_order_relaxed);
  }
  stop.impl().reader = nullptr;
  --unit.waitingReaders;
  if (readStarted && !unit.pendingInput.empty()) {
    vhid::Report report = std::move(unit.pendingInput.front());
    unit.pendingInput.pop_front();
    KernelWake().notify_all();
    if (unit.Faulty(Fault::Read)) return Outcome::Failed;
    bytesRead = static_cast<std::uint32_t>(std::min(buffer.size(), report.size()));
    std::copy_n(report.begin(), bytesRead, buffer.begin());
    return Outcome::Report;
  }
  if (readStarted && !unit.plugged) return Outcome::Failed;
  stopped = false;
  return Outcome::Stopped;
}

}  // namespace platform
