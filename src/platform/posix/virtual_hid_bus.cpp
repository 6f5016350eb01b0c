#include "platform/posix/virtual_hid_bus.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "platform/posix/kernel.h"
#include "platform/posix/virtual_hid_bus_state.h"

namespace platform::vhid {

using posix::KernelLock;
using posix::KernelWake;

namespace {

std::wstring Folded(const std::wstring& path) {
  std::wstring folded = path;
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return folded;
}

struct Bus {
  std::map<std::wstring, std::shared_ptr<VirtualDevice>> devices;  // by folded path
  std::map<int, ChangeListener> listeners;
  int nextListenerId = 1;
};

Bus& TheBus() {
  static Bus bus;
  return bus;
}

// Last unit ever plugged under the path, plugged or not; caller holds the kernel lock.
std::shared_ptr<VirtualDevice> FindAny(const std::wstring& path) {
  auto found = TheBus().devices.find(Folded(path));
  return found == TheBus().devices.end() ? nullptr : found->second;
}

void Announce(bool arrived, const std::wstring& path) {
  std::vector<ChangeListener> listeners;
  {
    std::lock_guard lock(KernelLock());
    for (auto& [id, listener] : TheBus().listeners) listeners.push_back(listener);
  }
  for (auto& listener : listeners) listener(arrived, path);
}

}  // namespace

std::shared_ptr<VirtualDevice> FindPlugged(const std::wstring& path) {
  auto device = FindAny(path);
  return device && device->plugged ? device : nullptr;
}

void Plug(const UnitProfile& profile) {
  {
    std::lock_guard lock(KernelLock());
    auto device = std::make_shared<VirtualDevice>();
    device->profile = profile;
    TheBus().devices[Folded(profile.path)] = device;
  }
  Announce(true, profile.path);
}

void Unplug(const std::wstring& path) {
  {
    std::lock_guard lock(KernelLock());
    auto device = FindPlugged(path);
    if (!device) return;
    device->plugged = false;
    KernelWake().notify_all();
    device->readerWake.notify_all();
  }
  Announce(false, path);
}

void PushInput(const std::wstring& path, std::span<const std::uint8_t> report) {
  std::lock_guard lock(KernelLock());
  if (auto device = FindPlugged(path)) {
    device->pendingInput.emplace_back(report.begin(), report.end());
    device->readerWake.notify_all();
  }
}

std::vector<Report> FeatureLog(const std::wstring& path) {
  std::lock_guard lock(KernelLock());
  auto device = FindAny(path);
  return device ? device->featureLog : std::vector<Report>{};
}

void SetFeatureAnswer(const std::wstring& path, std::span<const std::uint8_t> report) {
  std::lock_guard lock(KernelLock());
  if (auto device = FindAny(path)) device->featureAnswer.assign(report.begin(), report.end());
}

void InjectFault(const std::wstring& path, Fault fault, bool active) {
  std::lock_guard lock(KernelLock());
  auto device = FindAny(path);
  if (!device) return;
  if (active) {
    device->faults.insert(fault);
  } else {
    device->faults.erase(fault);
  }
}

bool WaitUntilIdle(const std::wstring& path, std::chrono::milliseconds timeout) {
  std::unique_lock lock(KernelLock());
  auto device = FindAny(path);
  if (!device) return false;
  return KernelWake().wait_for(
      lock, timeout, [&] { return device->pendingInput.empty() && device->waitingReaders > 0; });
}

int OpenHandles(const std::wstring& path) {
  std::lock_guard lock(KernelLock());
  auto device = FindAny(path);
  return device ? device->openHandles : 0;
}

std::vector<std::wstring> PresentPaths() {
  std::lock_guard lock(KernelLock());
  std::vector<std::wstring> paths;
  for (auto& [folded, device] : TheBus().devices) {
    if (device->plugged) paths.push_back(device->profile.path);
  }
  return paths;
}

int AddChangeListener(ChangeListener listener) {
  std::lock_guard lock(KernelLock());
  int id = TheBus().nextListenerId++;
  TheBus().listeners.emplace(id, std::move(listener));
  return id;
}

void RemoveChangeListener(int id) {
  std::lock_guard lock(KernelLock());
  TheBus().listeners.erase(id);
}

void Reset() {
  std::lock_guard lock(KernelLock());
  for (auto& [folded, device] : TheBus().devices) {
    device->plugged = false;
    device->readerWake.notify_all();
  }
  TheBus().devices.clear();
  TheBus().listeners.clear();
  KernelWake().notify_all();
}

}  // namespace platform::vhid
