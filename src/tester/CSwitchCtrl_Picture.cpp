#include "tester/CSwitchCtrl.h"

namespace tester {

bool CSwitchCtrl::IsSet(const SwitchRow& row) const {
  return (m_abSwitches[row.bit.byte].load(std::memory_order_relaxed) & row.bit.mask) != 0;
}

void CSwitchCtrl::ProcessReport(InputReport report) {
  for (const SwitchRow& row : kSwitchRows) {
    if (row.bit.In(report) == IsSet(row)) continue;
    // The reader is the only writer, so flipping the bit copies the report's.
    m_abSwitches[row.bit.byte].fetch_xor(row.bit.mask, std::memory_order_relaxed);
    if (m_window) m_window->Invalidate(row.repaint);
  }
}

void CSwitchCtrl::ShowLamps(LampState nose, LampState left, LampState right) {
  if (!m_window || !m_window->Exists()) return;
  m_nLampNose = nose;
  m_nLampLeft = left;
  m_nLampRight = right;
  m_window->Invalidate(kLampArea);
}

void CSwitchCtrl::OnPaint(platform::Canvas& canvas) {
  canvas.DrawBitmap(kPanelFace, {0, 0});
  for (const SwitchRow& row : kSwitchRows) {
    if (row.overlay != kNoOverlay && IsSet(row)) canvas.DrawBitmap(row.overlay, row.origin);
  }
  const std::array lamps = {std::pair{m_nLampNose, kNoseLamp}, std::pair{m_nLampLeft, kLeftLamp},
                            std::pair{m_nLampRight, kRightLamp}};
  for (const auto& [state, centre] : lamps) {
    if (state != LampState::Off) canvas.DrawEllipse(LampColour(state), LampBox(centre));
  }
}

}  // namespace tester
