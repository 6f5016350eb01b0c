#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "simstub/EntryPoints.h"
#include "simstub/SimStub.h"

// A received record, copied out of the dispatch call that lent it.
struct Received {
  simconnect::Dword sizeArgument = 0;
  std::vector<std::byte> bytes;

  template <typename Record>
  Record As() const {
    Record record{};
    std::memcpy(&record, bytes.data(), std::min(sizeof(Record), bytes.size()));
    return record;
  }
  simconnect::Recv Header() const { return As<simconnect::Recv>(); }

  // The nth value of a data record's block.
  template <typename Value>
  Value DataValue(std::size_t index) const {
    constexpr std::size_t kBlockStart = sizeof(simconnect::RecvSimObjectData) - 4;
    Value value{};
    std::memcpy(&value, bytes.data() + kBlockStart + index * sizeof(Value), sizeof(Value));
    return value;
  }
};

inline void SIMCONNECT_CALL Collect(simconnect::Recv* record, simconnect::Dword size,
                                    void* context) {
  const auto* first = reinterpret_cast<const std::byte*>(record);
  static_cast<std::vector<Received>*>(context)->push_back(
      {size, std::vector<std::byte>(first, first + record->dwSize)});
}

// Each test starts from a fresh simulator with one client connected, without a window.
class StubClient : public ::testing::Test {
 protected:
  void SetUp() override {
    simstub::Reset();
    ASSERT_EQ(SimConnect_Open(&handle_, "stub test", nullptr, 0, nullptr, 0), 0);
  }
  void TearDown() override { simstub::Reset(); }

  std::vector<Received> Dispatch() {
    std::vector<Received> records;
    EXPECT_EQ(SimConnect_CallDispatch(handle_, Collect, &records), 0);
    return records;
  }

  simconnect::Dword MapEvent(simconnect::Dword id, const char* name) {
    EXPECT_EQ(SimConnect_MapClientEventToSimEvent(handle_, id, name), 0);
    return id;
  }

  simconnect::Handle handle_ = nullptr;
};
