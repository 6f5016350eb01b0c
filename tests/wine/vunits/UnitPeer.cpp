#include "UnitPeer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "Overlapped.h"
#include "VirtualUnitWire.h"

namespace vunits {
namespace {

// Enough listening instances that every open of a burst finds one, however late the
// instances the program closed are made anew: a vendor check by each of the three
// behaviours, the synchronous handle and the reader. An open that finds none fails as if
// the unit were busy, and a panel would not.
constexpr int kSlotsPerUnit = 8;
constexpr std::uint16_t kVersionNumber = 0x0100;
constexpr auto kReaderSilence = std::chrono::milliseconds(250);

std::wstring PathOf(const UnitProfile& profile) {
  wchar_t path[256];
  std::swprintf(path, 256, L"\\\\.\\pipe\\korvane-vunit#vid_%04x&pid_%04x#in%u#feature%u#%ls",
                profile.vendorId, profile.productId, profile.inputReportLength,
                profile.featureReportLength, profile.label.c_str());
  return path;
}

std::wstring Folded(std::wstring path) {
  std::transform(path.begin(), path.end(), path.begin(), towlower);
  return path;
}

HANDLE NewPipe(const wchar_t* name) {
  return CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                          PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                          PIPE_UNLIMITED_INSTANCES, kMaxMessage, kMaxMessage, 0, nullptr);
}

bool Connect(HANDLE pipe, HANDLE abandon) {
  DWORD ignored = 0;
  return RunOverlapped(pipe, abandon, ignored,
                       [&](OVERLAPPED& o) { return ConnectNamedPipe(pipe, &o) != FALSE; });
}

bool Receive(HANDLE pipe, HANDLE abandon, Report& message) {
  message.resize(kMaxMessage);
  DWORD length = 0;
  const bool received = RunOverlapped(pipe, abandon, length, [&](OVERLAPPED& o) {
    return ReadFile(pipe, message.data(), kMaxMessage, nullptr, &o) != FALSE;
  });
  message.resize(length);
  return received;
}

bool Send(HANDLE pipe, HANDLE abandon, std::span<const std::uint8_t> message) {
  DWORD written = 0;
  return RunOverlapped(pipe, abandon, written, [&](OVERLAPPED& o) {
    return WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), nullptr, &o) !=
           FALSE;
  });
}

template <typename Record>
Report BytesOf(const Record& record) {
  Report bytes(sizeof(record));
  std::memcpy(bytes.data(), &record, sizeof(record));
  return bytes;
}

}  // namespace

UnitPeer::UnitPeer()
    : m_busPipe(L"\\\\.\\pipe\\korvane-vunits-bus-" + std::to_wstring(GetCurrentProcessId())),
      m_stop(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  SetEnvironmentVariableW(kBusVariable, m_busPipe.c_str());
  m_bus = std::thread([this] { ServeBus(); });
  std::unique_lock lock(m_lock);
  m_changed.wait(lock, [&] { return m_busListening; });
}

UnitPeer::~UnitPeer() {
  std::vector<std::wstring> paths;
  {
    std::lock_guard lock(m_lock);
    for (auto& [folded, unit] : m_units) paths.push_back(unit->path);
  }
  for (const auto& path : paths) Unplug(path);
  SetEvent(m_stop);
  m_bus.join();
  CloseHandle(m_stop);
  for (auto& [folded, unit] : m_units) CloseHandle(unit->unplugged);
}

std::wstring UnitPeer::Plug(const UnitProfile& profile) {
  auto unit = std::make_unique<Unit>();
  unit->profile = profile;
  unit->path = PathOf(profile);
  unit->unplugged = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Unit& plugged = *unit;
  {
    std::lock_guard lock(m_lock);
    auto& place = m_units[Folded(plugged.path)];
    if (place && place->present) throw std::invalid_argument("unit plugged twice");
    if (place) CloseHandle(place->unplugged);
    place = std::move(unit);
  }
  for (int slot = 0; slot < kSlotsPerUnit; ++slot) {
    plugged.slots.emplace_back([this, &plugged] { ServeSlot(plugged); });
  }
  // Present means openable: an open before the instances exist would find no unit.
  std::unique_lock lock(m_lock);
  m_changed.wait(lock, [&] { return plugged.instances.size() >= kSlotsPerUnit; });
  return plugged.path;
}

void UnitPeer::Unplug(const std::wstring& path) {
  std::vector<std::thread> slots;
  {
    std::lock_guard lock(m_lock);
    Unit& unit = Find(path);
    if (!unit.present) return;
    unit.present = false;
    SetEvent(unit.unplugged);
    slots.swap(unit.slots);
  }
  for (auto& slot : slots) slot.join();
}

void UnitPeer::ServeSlot(Unit& unit) {
  while (WaitForSingleObject(unit.unplugged, 0) != WAIT_OBJECT_0) {
    HANDLE pipe = NewPipe(unit.path.c_str());
    if (pipe == INVALID_HANDLE_VALUE) return;
    Instance* instance = nullptr;
    {
      std::lock_guard lock(m_lock);
      instance = &unit.instances.emplace_back(Instance{pipe, 0, {}, 0});
      m_changed.notify_all();
    }
    if (Connect(pipe, unit.unplugged)) {
      {
        std::lock_guard lock(m_lock);
        instance->connected = ++m_connections;
        ++unit.opens;
        instance->connectedAt = std::chrono::steady_clock::now();
        m_changed.notify_all();
      }
      ServeInstance(unit, *instance);
    }
    std::lock_guard lock(m_lock);
    // Disconnecting is what the program sees as the unit going away under its handle.
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    unit.instances.remove_if([&](const Instance& each) { return &each == instance; });
    m_changed.notify_all();
  }
}

void UnitPeer::ServeInstance(Unit& unit, Instance& instance) {
  Report request;
  while (Receive(instance.pipe, unit.unplugged, request) && !request.empty()) {
    Report answer;
    bool held = false;
    {
      std::lock_guard lock(m_lock);
      ++instance.requests;
      answer = Answer(unit, instance, request);
      held = unit.holdFeatureAnswers && static_cast<Request>(request[0]) == Request::SetFeature;
      m_changed.notify_all();
    }
    if (held) continue;
    if (!Send(instance.pipe, unit.unplugged, answer)) return;
  }
}

Report UnitPeer::Answer(Unit& unit, Instance& instance, std::span<const std::uint8_t> request) {
  const UnitProfile& profile = unit.profile;
  const auto payload = request.subspan(1);
  switch (static_cast<Request>(request[0])) {
    case Request::Attributes:
      return BytesOf(
          AttributesAnswer{Status::Ok, profile.vendorId, profile.productId, kVersionNumber});
    case Request::Caps:
      unit.syncHandle = instance.connected;
      return BytesOf(
          CapsAnswer{Status::Ok, profile.inputReportLength, 0, profile.featureReportLength});
    case Request::SetFeature:
      unit.features.emplace_back(payload.begin(), payload.end());
      return {static_cast<std::uint8_t>(Status::Ok)};
    case Request::GetFeature: {
      std::uint16_t length = 0;
      if (payload.size() != sizeof(length)) break;
      std::memcpy(&length, payload.data(), sizeof(length));
      Report answer(length + 1u, 0);
      answer[0] = static_cast<std::uint8_t>(Status::Ok);
      std::copy_n(unit.featureAnswer.begin(),
                  std::min<std::size_t>(length, unit.featureAnswer.size()), answer.begin() + 1);
      return answer;
    }
    case Request::ListUnits:
      break;
  }
  return {static_cast<std::uint8_t>(Status::Failed)};
}

void UnitPeer::ServeBus() {
  while (WaitForSingleObject(m_stop, 0) != WAIT_OBJECT_0) {
    HANDLE pipe = NewPipe(m_busPipe.c_str());
    {
      std::lock_guard lock(m_lock);
      m_busListening = true;
      m_changed.notify_all();
    }
    if (pipe == INVALID_HANDLE_VALUE) return;
    Report request;
    if (Connect(pipe, m_stop) && Receive(pipe, m_stop, request) && request.size() == 1 &&
        request[0] == static_cast<std::uint8_t>(Request::ListUnits)) {
      std::wstring paths;
      {
        std::lock_guard lock(m_lock);
        for (auto& [folded, unit] : m_units) {
          if (unit->present) paths += unit->path + L'\0';
        }
      }
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(paths.data());
      // Disconnecting discards what the caller has not read yet, so the answer stays until
      // the caller hangs up; under load it was seen to lose the list of units.
      if (Send(pipe, m_stop, std::span(bytes, paths.size() * sizeof(wchar_t)))) {
        Receive(pipe, m_stop, request);
      }
    }
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
  }
}

UnitPeer::Unit& UnitPeer::Find(const std::wstring& path) {
  auto found = m_units.find(Folded(path));
  if (found == m_units.end()) throw std::invalid_argument("no such unit");
  return *found->second;
}

// The reader's handle is the one that the program opened after the synchronous handle
// and that never asks anything: it only waits for input reports. A vendor check by a
// behaviour after the owner asks at once, so a handle silent for a while is the reader.
// A program that keeps no synchronous handle (the tester opens one for each call) has
// only the silent one.
UnitPeer::Instance* UnitPeer::Reader(Unit& unit) {
  const auto settled = std::chrono::steady_clock::now() - kReaderSilence;
  Instance* reader = nullptr;
  for (Instance& instance : unit.instances) {
    if (instance.connected == 0 || instance.connected <= unit.syncHandle || instance.requests > 0 ||
        instance.connectedAt > settled) {
      continue;
    }
    if (!reader || instance.connected > reader->connected) reader = &instance;
  }
  return reader;
}

bool UnitPeer::Push(const std::wstring& path, std::span<const std::uint8_t> report) {
  std::lock_guard lock(m_lock);
  Unit& unit = Find(path);
  Instance* reader = Reader(unit);
  return reader && Send(reader->pipe, unit.unplugged, report);
}

bool UnitPeer::WaitForReader(const std::wstring& path, milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock lock(m_lock);
  // Looked at again as time passes, not only on changes: silence makes the reader.
  while (!Reader(Find(path))) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    m_changed.wait_for(lock, kReaderSilence / 5);
  }
  return true;
}

bool UnitPeer::WaitForFeatures(const std::wstring& path, std::size_t count, milliseconds timeout) {
  std::unique_lock lock(m_lock);
  return m_changed.wait_for(lock, timeout, [&] { return Find(path).features.size() >= count; });
}

std::vector<Report> UnitPeer::Features(const std::wstring& path) {
  std::lock_guard lock(m_lock);
  return Find(path).features;
}

void UnitPeer::SetFeatureAnswer(const std::wstring& path, std::span<const std::uint8_t> report) {
  std::lock_guard lock(m_lock);
  Find(path).featureAnswer.assign(report.begin(), report.end());
}

int UnitPeer::OpenHandles(const std::wstring& path) {
  std::lock_guard lock(m_lock);
  const auto& instances = Find(path).instances;
  return static_cast<int>(std::count_if(instances.begin(), instances.end(),
                                        [](const Instance& each) { return each.connected != 0; }));
}

int UnitPeer::Opens(const std::wstring& path) {
  std::lock_guard lock(m_lock);
  return Find(path).opens;
}

void UnitPeer::HoldFeatureAnswers(const std::wstring& path) {
  std::lock_guard lock(m_lock);
  Find(path).holdFeatureAnswers = true;
}

}  // namespace vunits
