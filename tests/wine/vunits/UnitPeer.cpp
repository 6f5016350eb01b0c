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
// Under emulation every step of a program is slow; no reader takes this long to read.
constexpr auto kReaderPatience = std::chrono::seconds(60);

// A unit's pipe keeps nothing in between: a write ends only when the other end has read
// it. So a report written to a handle is taken only by a read pending on it, and a
// request stays in the pipe, its writer waiting, until the peer takes it.
constexpr DWORD kUnitBuffer = 0;
constexpr DWORD kBusBuffer = kMaxMessage;

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

HANDLE NewPipe(const wchar_t* name, DWORD buffer) {
  return CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                          PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                          PIPE_UNLIMITED_INSTANCES, buffer, buffer, 0, nullptr);
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

template <typename Instances>
int Connected(const Instances& instances) {
  return static_cast<int>(std::count_if(instances.begin(), instances.end(),
                                        [](const auto& each) { return each.connected != 0; }));
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
    m_changed.notify_all();
  }
  for (auto& slot : slots) slot.join();
}

void UnitPeer::ServeSlot(Unit& unit) {
  while (WaitForSingleObject(unit.unplugged, 0) != WAIT_OBJECT_0) {
    HANDLE pipe = NewPipe(unit.path.c_str(), kUnitBuffer);
    if (pipe == INVALID_HANDLE_VALUE) return;
    Instance* instance = nullptr;
    {
      std::lock_guard lock(m_lock);
      instance = &unit.instances.emplace_back();
      instance->pipe = pipe;
      instance->offered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
      m_changed.notify_all();
    }
    if (Connect(pipe, unit.unplugged)) {
      {
        std::lock_guard lock(m_lock);
        instance->connected = ++m_connections;
        ++unit.opens;
        ++m_tally.opened;
        m_changed.notify_all();
      }
      if (AwaitRequest(unit, *instance)) ServeInstance(unit, *instance);
      // Either the program closed its end, or it still held it when the unit went and the
      // peer breaks it below.
      const bool closed = !PeekNamedPipe(pipe, nullptr, 0, nullptr, nullptr, nullptr) &&
                          GetLastError() == ERROR_BROKEN_PIPE;
      std::lock_guard lock(m_lock);
      ++(closed ? m_tally.closed : m_tally.broken);
    }
    std::lock_guard lock(m_lock);
    // Disconnecting is what the program sees as the unit going away under its handle.
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    CloseHandle(instance->offered);
    unit.instances.remove_if([&](const Instance& each) { return &each == instance; });
    m_changed.notify_all();
  }
}

// Until the program asks something on the handle, a report on offer is written to it, and
// only a pending read takes it: the reader's. A synchronous handle reads only after its
// request, which waits in the pipe while its write on offer is withdrawn. True once a
// request waits; false when the handle or the unit went away.
bool UnitPeer::AwaitRequest(Unit& unit, Instance& instance) {
  PendingOperation ask(instance.pipe);  // reads nothing: ends when a request waits
  PendingOperation write(instance.pipe);
  std::shared_ptr<Offer> writing;
  const auto endWrite = [&](bool withdraw) {
    const DWORD result = withdraw ? write.Cancel() : write.Finish();
    std::lock_guard lock(m_lock);
    writing->taken = writing->taken || result == ERROR_SUCCESS;
    --writing->writing;
    if (instance.offer == writing) instance.offer = nullptr;
    writing.reset();
    m_changed.notify_all();
    return result;
  };
  const auto end = [&](bool asked) {
    {
      std::lock_guard lock(m_lock);
      (asked ? instance.asked : instance.ending) = true;
    }
    if (writing) endWrite(true);
    return asked;
  };
  std::uint8_t nothing = 0;
  ask.Begin([&](OVERLAPPED& o) { return ReadFile(instance.pipe, &nothing, 0, nullptr, &o); });
  for (;;) {
    {
      std::lock_guard lock(m_lock);
      if (!writing && instance.offer) {
        writing = instance.offer;
        ++writing->writing;
        const Report& report = writing->report;
        write.Begin([&](OVERLAPPED& o) {
          return WriteFile(instance.pipe, report.data(), static_cast<DWORD>(report.size()), nullptr,
                           &o);
        });
      }
    }
    const HANDLE waits[] = {ask.Ended(), unit.unplugged, instance.offered, write.Ended()};
    switch (WaitForMultipleObjects(writing ? 4 : 3, waits, FALSE, INFINITE)) {
      case WAIT_OBJECT_0:
        return end(ask.Finish() == ERROR_MORE_DATA);
      case WAIT_OBJECT_0 + 2: {
        std::unique_lock lock(m_lock);
        const bool withdrawn = writing && instance.offer != writing;
        lock.unlock();
        if (withdrawn) endWrite(true);
        break;
      }
      case WAIT_OBJECT_0 + 3:
        // Not taken by a read: the handle is gone.
        if (endWrite(false) != ERROR_SUCCESS) return end(false);
        break;
      default:
        return end(false);
    }
  }
}

void UnitPeer::ServeInstance(Unit& unit, Instance& instance) {
  Report request;
  while (Receive(instance.pipe, unit.unplugged, request) && !request.empty()) {
    Report answer;
    bool held = false;
    {
      std::lock_guard lock(m_lock);
      answer = Answer(unit, request);
      held = unit.holdFeatureAnswers && static_cast<Request>(request[0]) == Request::SetFeature;
      m_changed.notify_all();
    }
    if (held) continue;
    if (!Send(instance.pipe, unit.unplugged, answer)) return;
  }
}

Report UnitPeer::Answer(Unit& unit, std::span<const std::uint8_t> request) {
  const UnitProfile& profile = unit.profile;
  const auto payload = request.subspan(1);
  switch (static_cast<Request>(request[0])) {
    case Request::Attributes:
      return BytesOf(
          AttributesAnswer{Status::Ok, profile.vendorId, profile.productId, kVersionNumber});
    case Request::Caps:
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
    HANDLE pipe = NewPipe(m_busPipe.c_str(), kBusBuffer);
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

bool UnitPeer::Push(const std::wstring& path, std::span<const std::uint8_t> report,
                    std::stop_token stop) {
  std::lock_guard pushing(m_pushing);
  std::unique_lock lock(m_lock);
  Unit& unit = Find(path);
  const auto offer = std::make_shared<Offer>(Offer{Report(report.begin(), report.end())});
  const auto offerTo = [&](Instance& each, std::shared_ptr<Offer> what) {
    each.offer = std::move(what);
    SetEvent(each.offered);
  };
  const auto unoffered = [&](const Instance& each) {
    return each.connected != 0 && !each.asked && !each.ending && !each.offer;
  };
  const auto newcomer = [&] {
    return std::any_of(unit.instances.begin(), unit.instances.end(), unoffered);
  };
  // Offered to handles as they come: the reader may not be open yet.
  const auto deadline = std::chrono::steady_clock::now() + kReaderPatience;
  for (;;) {
    for (Instance& each : unit.instances) {
      if (unoffered(each)) offerTo(each, offer);
    }
    if (!m_changed.wait_until(lock, stop, deadline,
                              [&] { return !unit.present || offer->taken || newcomer(); }) ||
        !unit.present || offer->taken) {
      break;
    }
  }
  for (Instance& each : unit.instances) {
    if (each.offer == offer) offerTo(each, nullptr);
  }
  m_changed.wait(lock, [&] { return offer->writing == 0; });
  return offer->taken;
}

bool UnitPeer::WaitForReader(const std::wstring& path, milliseconds timeout) {
  std::unique_lock lock(m_lock);
  return m_changed.wait_for(lock, timeout, [&] {
    const auto& instances = Find(path).instances;
    return std::any_of(instances.begin(), instances.end(), [](const Instance& each) {
      return each.connected != 0 && !each.asked && !each.ending;
    });
  });
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
  return Connected(Find(path).instances);
}

int UnitPeer::Opens(const std::wstring& path) {
  std::lock_guard lock(m_lock);
  return Find(path).opens;
}

UnitPeer::Tally UnitPeer::Handles() {
  std::lock_guard lock(m_lock);
  Tally tally = m_tally;
  for (const auto& [folded, unit] : m_units) tally.open += Connected(unit->instances);
  return tally;
}

void UnitPeer::HoldFeatureAnswers(const std::wstring& path) {
  std::lock_guard lock(m_lock);
  Find(path).holdFeatureAnswers = true;
}

}  // namespace vunits
