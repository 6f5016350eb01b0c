#pragma once

#include <cstddef>
#include <vector>

#include "simlink/SimConnectApi.h"

namespace simstub {

// What a simulation-object data record carries besides its header.
struct ObjectData {
  simconnect::Dword request;
  simconnect::Dword object;
  simconnect::Dword define;
  simconnect::Dword flags;
  simconnect::Dword defineCount;
  std::vector<std::byte> block;  // the values, packed; starts at the record's dwData
};

// One received record as the client's dispatch procedure sees it: dwSize is the true size
// of the record, and a data block runs from dwData to the end.
class Record {
 public:
  static Record Quit();
  static Record Event(simconnect::Dword group, simconnect::Dword event, simconnect::Dword data);
  static Record SimObjectData(const ObjectData& data);

  Record(Record&&) noexcept = default;
  Record& operator=(Record&&) noexcept = default;

  simconnect::Recv* Get() const { return header_; }
  simconnect::Dword Size() const { return header_->dwSize; }

 private:
  explicit Record(std::size_t bytes);

  // Every field is 32 bits wide, so storage in 32-bit words keeps them all aligned.
  std::vector<simconnect::Dword> words_;
  simconnect::Recv* header_ = nullptr;
};

}  // namespace simstub
