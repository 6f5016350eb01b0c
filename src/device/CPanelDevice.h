#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/hid.h"
#include "platform/sync.h"

class CPanelClass;

// One attached panel unit: its synchronous HID handle for feature reports, its reader
// thread, and the per-unit state the behaviours keep on it (value table, output filter).
class CPanelDevice {
 public:
  // How long Close() waits for the reader before it kills it.
  static constexpr std::uint32_t kReaderStopTimeoutMs = 30000;

  // Tests name a shorter wait; the plug-in always waits kReaderStopTimeoutMs.
  explicit CPanelDevice(std::uint32_t readerStopTimeoutMs = kReaderStopTimeoutMs);
  ~CPanelDevice();
  CPanelDevice(const CPanelDevice&) = delete;
  CPanelDevice& operator=(const CPanelDevice&) = delete;

  bool Open(const std::wstring& path, CPanelClass& owner);
  // Stops the reader and releases everything; safe after an Open that failed part-way.
  void Close();

  const platform::HidDevice* GetHandle() const { return m_sync.get(); }
  const std::wstring& GetPath() const { return m_path; }

  std::int32_t GetValue(std::int32_t key) const;
  void SetValue(std::int32_t key, std::int32_t value);
  // True when the report differs from the last one that passed, which it then becomes.
  // An empty report always passes and is not kept.
  bool HasOutputChanged(std::span<const std::uint8_t> report);

  // The unit's state is shared by its reader thread and the user-interface thread; a
  // behaviour holds this guard across a read-decide-write sequence on one unit.
  std::unique_lock<platform::RecursiveLock> Guard() const { return std::unique_lock(*m_guard); }

 private:
  static void ReaderThread(CPanelDevice* device);

  std::uint32_t m_readerStopTimeoutMs;
  // Held apart from the object, so that a lock a killed reader died holding can outlive it.
  std::unique_ptr<platform::RecursiveLock> m_guard = std::make_unique<platform::RecursiveLock>();
  std::map<std::int32_t, std::int32_t> m_values;
  CPanelClass* m_owner = nullptr;
  std::wstring m_path;
  std::unique_ptr<platform::HidDevice> m_sync;
  // The reader's overlapped handle, kept here so that it is closed even when the reader
  // had to be killed.
  std::unique_ptr<platform::HidReader> m_input;
  platform::Thread m_reader;
  platform::Event m_stop;
  platform::HidCaps m_caps;
  std::vector<std::uint8_t> m_lastFeatureReport;
};
