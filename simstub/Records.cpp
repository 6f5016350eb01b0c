#include "simstub/Records.h"

#include <algorithm>
#include <new>

namespace simstub {
namespace {

using simconnect::Dword;

// The version field the stand-in writes into every record; clients do not read it.
constexpr Dword kRecordVersion = 1;

// A data record's fixed part ends where its data block begins.
constexpr std::size_t kObjectDataHeaderBytes =
    sizeof(simconnect::RecvSimObjectData) - sizeof(Dword);

constexpr simconnect::Recv Header(std::size_t bytes, simconnect::RecvId id) {
  return {static_cast<Dword>(bytes), kRecordVersion, id};
}

}  // namespace

Record::Record(std::size_t bytes) : words_((bytes + sizeof(Dword) - 1) / sizeof(Dword)) {}

Record Record::Quit() {
  Record record(sizeof(simconnect::Recv));
  record.header_ = new (record.words_.data())
      simconnect::Recv{Header(sizeof(simconnect::Recv), simconnect::kRecvIdQuit)};
  return record;
}

Record Record::Event(Dword group, Dword event, Dword data) {
  constexpr std::size_t kBytes = sizeof(simconnect::RecvEvent);
  Record record(kBytes);
  record.header_ = new (record.words_.data())
      simconnect::RecvEvent{Header(kBytes, simconnect::kRecvIdEvent), group, event, data};
  return record;
}

Record Record::SimObjectData(const ObjectData& data) {
  const std::size_t bytes = kObjectDataHeaderBytes + data.block.size();
  // An empty block still needs room for the dwData field of the fixed layout.
  Record record(std::max(bytes, sizeof(simconnect::RecvSimObjectData)));
  constexpr Dword kEntryNumber = 1;
  constexpr Dword kOutOf = 1;
  record.header_ = new (record.words_.data())
      simconnect::RecvSimObjectData{Header(bytes, simconnect::kRecvIdSimObjectData),
                                    data.request,
                                    data.object,
                                    data.define,
                                    data.flags,
                                    kEntryNumber,
                                    kOutOf,
                                    data.defineCount,
                                    0};
  std::ranges::copy(data.block,
                    reinterpret_cast<std::byte*>(record.words_.data()) + kObjectDataHeaderBytes);
  return record;
}

}  // namespace simstub
