#include <algorithm>
#include <cwctype>

#include "platform/hid.h"
#include "tester/CSwitchCtrl.h"
#include "tester/LampTest.h"

namespace tester {

namespace {

namespace sp = panels::switch_panel;

bool SamePath(std::wstring_view left, std::wstring_view right) {
  return std::ranges::equal(
      left, right, [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

}  // namespace

CSwitchCtrl::CSwitchCtrl() = default;

CSwitchCtrl::~CSwitchCtrl() {
  if (!m_strDevicePath.empty()) WriteLampReport(sp::kAllLampsOff);
  ShowLamps(LampState::Off, LampState::Off, LampState::Off);
  if (m_readThread.IsRunning()) StopReader();
}

bool CSwitchCtrl::CreateAndConnect(platform::Dialog& dialog, int placeholderId,
                                   const std::optional<std::wstring>& devicePath) {
  if (m_readThread.IsRunning()) return false;
  m_window = dialog.ReplaceWithControl(placeholderId, *this, {kPictureBitmaps, kLampColours});
  if (!devicePath) return false;
  m_strDevicePath = *devicePath;
  if (!StartReader()) return false;
  StartLampTest();
  return true;
}

bool CSwitchCtrl::OnPanelArrived(const std::wstring& devicePath) {
  if (!m_strDevicePath.empty()) return false;
  m_strDevicePath = devicePath;
  if (m_window) m_window->KillTimer(kLampTestTimer);
  if (m_readThread.IsRunning()) StopReader();
  if (!StartReader()) return false;
  StartLampTest();
  return true;
}

bool CSwitchCtrl::OnPanelRemoved(std::wstring_view devicePath) {
  if (!SamePath(devicePath, m_strDevicePath)) return false;
  m_strDevicePath.clear();
  if (m_window) m_window->KillTimer(kLampTestTimer);
  ShowLamps(LampState::Off, LampState::Off, LampState::Off);
  m_nLampTestStep = 0;
  if (m_readThread.IsRunning()) StopReader();
  return true;
}

void CSwitchCtrl::OnTimer() {
  m_nLampTestStep = NextLampTestStep(m_nLampTestStep);
  const LampTestStep& step = kLampTestSteps[m_nLampTestStep];
  WriteLampReport(step.lampBits);
  ShowLamps(step.nose, step.left, step.right);
}

void CSwitchCtrl::StartLampTest() {
  WriteLampReport(sp::kAllLampsOff);
  ShowLamps(LampState::Off, LampState::Off, LampState::Off);
  if (m_window) m_window->SetTimer(kLampTestTimer, kLampTestPeriodMs);
}

bool CSwitchCtrl::StartReader() {
  // The reader has a copy of the path: the stored one changes while it may still run.
  return m_readThread.Start([this, path = m_strDevicePath] { ReadThreadProc(path); });
}

void CSwitchCtrl::StopReader() {
  m_hStopEvent.Signal();
  m_readThread.Join(platform::kInfinite);
  // A reader that had ended by itself (no path, or one that would not open) left the
  // signal standing; the next reader would take it as its own stop.
  m_hStopEvent.Wait(0);
}

void CSwitchCtrl::WriteLampReport(std::uint8_t lampBits) const {
  if (m_strDevicePath.empty()) return;
  // A handle of its own for each write, apart from the reader's.
  const platform::HidDevice unit(m_strDevicePath);
  if (unit.IsOpen()) unit.SetFeature(sp::MakeGearLightReport(lampBits));
}

void CSwitchCtrl::ReadThreadProc(const std::wstring& devicePath) {
  if (devicePath.empty()) return;
  platform::HidReader reader(devicePath);
  if (!reader.IsOpen()) return;
  for (;;) {
    std::array<std::uint8_t, sp::kInputReportLength> report{};
    std::uint32_t bytesRead = 0;
    // A read still pending at the stop has been cancelled and has ended when this returns,
    // so the report buffer may go with this pass.
    const auto outcome = reader.Read(report, m_hStopEvent, bytesRead);
    if (outcome == platform::HidReader::Outcome::Stopped) break;
    if (outcome == platform::HidReader::Outcome::Report) ProcessReport(report);
  }
}

}  // namespace tester
