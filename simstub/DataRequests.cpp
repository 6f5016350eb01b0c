#include "simstub/DataRequests.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#include "simstub/Results.h"

namespace simstub {
namespace {

using simconnect::Dword;

constexpr std::size_t kValueBytes = 4;

std::int32_t ToInt32(double value) {
  using Limits = std::numeric_limits<std::int32_t>;
  if (std::isnan(value)) return 0;
  return static_cast<std::int32_t>(
      std::clamp(std::round(value), double{Limits::min()}, double{Limits::max()}));
}

// A value as the record carries it, widened back for comparison.
double AsSent(simconnect::DataType type, double value) {
  return type == simconnect::kDataTypeInt32 ? ToInt32(value) : static_cast<float>(value);
}

std::vector<double> Sample(const std::vector<DataItem>& items, const Aircraft& aircraft) {
  std::vector<double> values;
  for (const auto& item : items) values.push_back(AsSent(item.type, aircraft.Get(item.variable)));
  return values;
}

// A definition that grew since the last record counts as changed.
bool Changed(const std::vector<DataItem>& items, const std::vector<double>& sent,
             const std::vector<double>& now) {
  if (sent.size() != now.size()) return true;
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (std::abs(now[i] - sent[i]) > items[i].epsilon) return true;
  }
  return false;
}

template <typename Value>
void Put(std::vector<std::byte>& block, std::size_t index, Value value) {
  static_assert(sizeof(Value) == kValueBytes);
  std::memcpy(block.data() + index * kValueBytes, &value, kValueBytes);
}

std::vector<std::byte> Pack(const std::vector<DataItem>& items, const std::vector<double>& values) {
  std::vector<std::byte> block(values.size() * kValueBytes);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (items[i].type == simconnect::kDataTypeInt32) {
      Put(block, i, static_cast<std::int32_t>(values[i]));
    } else {
      Put(block, i, static_cast<float>(values[i]));
    }
  }
  return block;
}

}  // namespace

simconnect::HResult DataRequests::Define(Dword define, std::string variable, Dword type,
                                         float epsilon) {
  if (type != simconnect::kDataTypeInt32 && type != simconnect::kDataTypeFloat32) {
    return kEInvalidArg;
  }
  definitions_[define].push_back(
      {std::move(variable), static_cast<simconnect::DataType>(type), epsilon});
  return kSOk;
}

simconnect::HResult DataRequests::Request(Dword request, Dword define, Dword object, Dword period,
                                          Dword flags) {
  // Only the user's aircraft exists, it is sampled once a frame, and only the plain record
  // layout is built.
  if (object != simconnect::kObjectIdUser || period != simconnect::kPeriodSimFrame ||
      (flags & ~simconnect::kDataRequestFlagChanged) != 0) {
    return kEInvalidArg;
  }
  // A request under an id already in use replaces it and so sends again at once.
  requests_.insert_or_assign(request, Pending{define, flags, std::nullopt});
  return kSOk;
}

std::vector<Record> DataRequests::Frame(const Aircraft& aircraft) {
  std::vector<Record> records;
  for (auto& [id, pending] : requests_) {
    const auto definition = definitions_.find(pending.define);
    if (definition == definitions_.end()) continue;
    const auto& items = definition->second;
    auto values = Sample(items, aircraft);
    const bool send = !pending.sent || (pending.flags & simconnect::kDataRequestFlagChanged) == 0 ||
                      Changed(items, *pending.sent, values);
    if (!send) continue;
    records.push_back(
        Record::SimObjectData({id, simconnect::kObjectIdUser, pending.define, pending.flags,
                               static_cast<Dword>(items.size()), Pack(items, values)}));
    pending.sent = std::move(values);
  }
  return records;
}

}  // namespace simstub
