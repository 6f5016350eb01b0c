#pragma once

// Shared between the bus's control side and the HID backend that opens its units.

#include <condition_variable>
#include <deque>
#include <memory>
#include <set>

#include "platform/posix/virtual_hid_bus.h"

namespace platform::vhid {

struct VirtualDevice {
  UnitProfile profile;
  bool plugged = true;
  std::deque<Report> pendingInput;
  std::vector<Report> featureLog;
  Report featureAnswer;
  std::set<Fault> faults;
  int openHandles = 0;
  int waitingReaders = 0;
  // Wakes the unit's readers only: a report for one unit must not wake every other reader.
  std::condition_variable readerWake;

  bool Faulty(Fault fault) const { return faults.contains(fault); }
};

// Caller holds the kernel lock. Null when no unit is plugged under that path.
std::shared_ptr<VirtualDevice> FindPlugged(const std::wstring& path);

}  // namespace platform::vhid
