#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "device/CPanelClass.h"
#include "panels/RadioData.h"
#include "panels/RadioPanelReports.h"
#include "panels/RadioSimVariables.h"

// The radio panel: each of its two rows tunes the radio its selector names with the
// encoders and the swap button, and shows that radio's frequencies, the DME's distance
// and speed, or the transponder code in its two windows.
class CPanelClass_Radios : public CPanelClass {
 public:
  explicit CPanelClass_Radios(CSimConnectLib* binding = nullptr);
  ~CPanelClass_Radios();

  bool IsMyDevice(const std::wstring& path) override;
  HResult Initialize() override;
  void OnSimObjectData(std::uint32_t requestId, std::span<const std::uint8_t> data) override;
  void OnDeviceOpened(CPanelDevice& device) override;
  void OnDeviceStopping(CPanelDevice& device) override;
  void OnInputReport(CPanelDevice& device, std::uint32_t length,
                     std::span<const std::uint8_t> previous,
                     std::span<const std::uint8_t> current) override;

  // Composes the unit's display from its rows' modes and the last record, and writes it
  // when it differs from the last one written, or always when forced. Modes and a record
  // that the unit's last display was composed from are not composed again. Called from
  // the unit's reader thread and from the main thread; one refresh of a unit at a time.
  void RefreshDisplay(CPanelDevice& device, bool force);

  // The mode that a row's newly set selector bits name, or `kept` when they name no
  // single position. The lower row's byte 2 counts only when it holds nothing but one
  // selector bit: a swap pressed with it leaves the mode as it was.
  static std::int32_t DecodeUpperMode(std::uint8_t byte1Bits, std::int32_t kept);
  static std::int32_t DecodeLowerMode(std::uint8_t byte1Bits, std::uint8_t byte2Bits,
                                      std::int32_t kept);

 private:
  struct Row;
  void ActOnRow(CPanelDevice& device, const Row& row,
                const panels::radio_panel::InputBytes& rising);

  panels::radio_panel::RadioData m_radioData;
  // Written by Initialize before any unit is attached, only read afterwards: by control,
  // then by tunable mode; 0 where nothing is mapped.
  std::array<std::array<std::uint32_t, panels::radio_panel::kTunableModes>,
             panels::radio_panel::kControlCount>
      m_tuningEvents{};
  std::array<std::uint32_t, panels::radio_panel::kTransponderEventNames.size()>
      m_transponderEvents{};
};
