// Simulator records of any size and content through the main window's dispatch, with a unit
// of each model attached, so that every changed record reaches a display: no crash, no
// sanitizer report. Each input is one record, in a buffer exactly as long as it says.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "host/CMainDlg.h"
#include "panels/PanelModels.h"
#include "platform/messages.h"
#include "platform/posix/virtual_hid_bus.h"

namespace {

// The units' write logs grow with every changed record: now and then they start afresh.
constexpr int kInputsPerSession = 4096;

struct Unit {
  const wchar_t* path;
  panels::PanelModel model;
};
constexpr Unit kUnits[] = {{L"autopilot", panels::kAutopilotPanel},
                           {L"radio", panels::kRadioPanel},
                           {L"switch", panels::kSwitchPanel}};

// The window is never created, so there is no simulator connection: the behaviours keep
// definition id 0, which records with request id 0 match.
std::optional<CMainDlg>& Session() {
  static std::optional<CMainDlg> window;
  return window;
}

void EndSession() {
  Session().reset();
  platform::vhid::Reset();
}

void StartSession() {
  EndSession();
  CMainDlg& window = Session().emplace();
  for (const Unit& unit : kUnits) {
    platform::vhid::Plug({unit.path, static_cast<std::uint16_t>(unit.model.vendorId),
                          static_cast<std::uint16_t>(unit.model.productId), 4, 0});
    const platform::DeviceBroadcast arrival{platform::kDbtDevTypDeviceInterface, unit.path};
    window.OnDeviceChange(platform::kDbtDeviceArrival, &arrival);
  }
  // The readers stop before the stand-in kernel they wait in goes at exit.
  static const int once = std::atexit(EndSession);
  static_cast<void>(once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int inputs = 0;
  if (inputs++ % kInputsPerSession == 0) StartSession();
  // A copy of its own, so that a read past the record's end is caught.
  const std::vector<std::uint8_t> record(data, data + size);
  Session()->OnSimMessage(record.data(), static_cast<simconnect::Dword>(record.size()));
  return 0;
}
