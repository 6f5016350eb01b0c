#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace vunits {

using Report = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

struct UnitProfile {
  std::wstring label;  // tells the units apart; part of the path
  std::uint16_t vendorId;
  std::uint16_t productId;
  std::uint16_t inputReportLength;
  std::uint16_t featureReportLength;
};

// Plays the panel units for a program under test in the same Wine prefix: each unit is a
// named pipe that the test HID library in the program talks to, and the bus pipe lists
// the units that are present. Every call is safe from any thread.
class UnitPeer {
 public:
  UnitPeer();
  ~UnitPeer();
  UnitPeer(const UnitPeer&) = delete;
  UnitPeer& operator=(const UnitPeer&) = delete;

  // The unit is present from now on; its path is returned. Nobody is told.
  std::wstring Plug(const UnitProfile& profile);
  // Breaks every open handle to the unit, as pulling its cable does; it is gone from the
  // bus and cannot be opened again. What it received stays readable.
  void Unplug(const std::wstring& path);

  // Writes an input report to the program's reader of the unit, waiting a while for one.
  // False when no reader took it: the unit went, the program has no reader, or `stop` came.
  bool Push(const std::wstring& path, std::span<const std::uint8_t> report,
            std::stop_token stop = {});
  // True once the program has a handle to the unit that asked nothing: its reader, or a
  // handle opened this moment that is about to ask. Only a report written tells them apart.
  bool WaitForReader(const std::wstring& path, milliseconds timeout);
  // True once the unit has received at least `count` feature reports.
  bool WaitForFeatures(const std::wstring& path, std::size_t count, milliseconds timeout);
  std::vector<Report> Features(const std::wstring& path);
  void SetFeatureAnswer(const std::wstring& path, std::span<const std::uint8_t> report);
  // Handles of the program to the unit that are connected now.
  int OpenHandles(const std::wstring& path);
  // How often the program opened the unit so far.
  int Opens(const std::wstring& path);

  // What became of every handle the program opened to any unit, this plug or an earlier one.
  struct Tally {
    int opened = 0;
    int closed = 0;  // the program closed it, and the peer saw it go
    // Still held by the program when its unit was unplugged, which broke it: the peer
    // cannot see the program close it afterwards, only the program's own handle count can.
    int broken = 0;
    int open = 0;  // connected now
  };
  Tally Handles();
  // From now on the unit takes feature writes and never answers them, as a unit whose
  // firmware hung; a handle closed under a write is still seen to close.
  void HoldFeatureAnswers(const std::wstring& path);

 private:
  // An input report offered to every handle of a unit that asked nothing, until one reads it.
  struct Offer {
    Report report;
    bool taken = false;
    int writing = 0;  // writes of it that have not ended
  };
  struct Instance {
    HANDLE pipe;
    HANDLE offered;               // auto reset: `offer` changed
    std::uint64_t connected = 0;  // order of connection, 0 while listening
    bool asked = false;           // a request came: a synchronous handle, never the reader
    bool ending = false;          // gone, or its unit is
    std::shared_ptr<Offer> offer;
  };
  struct Unit {
    UnitProfile profile;
    std::wstring path;
    bool present = true;
    HANDLE unplugged;  // manual reset: ends every instance of the unit
    std::list<Instance> instances;
    std::vector<Report> features;
    Report featureAnswer;
    int opens = 0;
    bool holdFeatureAnswers = false;
    std::vector<std::thread> slots;
  };

  void ServeSlot(Unit& unit);
  bool AwaitRequest(Unit& unit, Instance& instance);
  void ServeInstance(Unit& unit, Instance& instance);
  Report Answer(Unit& unit, std::span<const std::uint8_t> request);
  void ServeBus();
  Unit& Find(const std::wstring& path);  // caller holds the lock

  std::mutex m_pushing;  // one report at a time, so that they arrive in order
  std::mutex m_lock;
  std::condition_variable_any m_changed;
  std::map<std::wstring, std::unique_ptr<Unit>> m_units;
  std::uint64_t m_connections = 0;
  Tally m_tally;                // `open` is counted when asked
  bool m_busListening = false;  // set once the bus was first made (or could not be)
  std::wstring m_busPipe;       // this peer's own
  HANDLE m_stop;
  std::thread m_bus;
};

}  // namespace vunits
