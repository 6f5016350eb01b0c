#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "device/CPanelClass.h"
#include "device/CPanelDevice.h"
#include "simlink/CSimConnectLib.h"

// A behaviour that accepts one model and writes down what the device layer tells it.
class RecordingPanel : public CPanelClass {
 public:
  struct Delivery {
    std::uint32_t length;
    std::vector<std::uint8_t> previous;
    std::vector<std::uint8_t> current;
  };

  RecordingPanel(std::uint16_t vendorId, std::uint16_t productId, CSimConnectLib* binding = nullptr)
      : CPanelClass(binding), m_vendorId(vendorId), m_productId(productId) {}
  ~RecordingPanel() { DetachAll(); }

  bool IsMyDevice(const std::wstring& path) override {
    return IsModel(path, m_vendorId, m_productId);
  }
  HResult Initialize() override {
    m_defineid = Sim().NextDefinitionId();
    return 0;
  }
  void OnSimObjectData(std::uint32_t, std::span<const std::uint8_t>) override {}
  void OnDeviceOpened(CPanelDevice& device) override {
    std::lock_guard lock(m_lock);
    m_opened.push_back(device.GetPath());
  }
  void OnDeviceStopping(CPanelDevice& device) override {
    std::lock_guard lock(m_lock);
    m_stopped.push_back(device.GetPath());
  }
  void OnInputReport(CPanelDevice& device, std::uint32_t length,
                     std::span<const std::uint8_t> previous,
                     std::span<const std::uint8_t> current) override {
    std::lock_guard lock(m_lock);
    m_deliveries[device.GetPath()].push_back(
        {length, {previous.begin(), previous.end()}, {current.begin(), current.end()}});
  }

  std::vector<Delivery> Deliveries(const std::wstring& path) {
    std::lock_guard lock(m_lock);
    return m_deliveries[path];
  }
  std::vector<std::wstring> Opened() {
    std::lock_guard lock(m_lock);
    return m_opened;
  }
  std::vector<std::wstring> Stopped() {
    std::lock_guard lock(m_lock);
    return m_stopped;
  }

 private:
  std::uint16_t m_vendorId;
  std::uint16_t m_productId;
  std::mutex m_lock;
  std::map<std::wstring, std::vector<Delivery>> m_deliveries;
  std::vector<std::wstring> m_opened;
  std::vector<std::wstring> m_stopped;
};
