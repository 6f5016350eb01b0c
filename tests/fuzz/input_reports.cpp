// Input reports of any length and content, with simulator records of any content between
// them, handed to each panel behaviour the way a unit's reader hands them over: no crash,
// no sanitizer report.
//
// Input: one byte picks the model, one the unit's input report length; then steps, each a
// byte: below 0x80 a report of that many bytes (at most the unit's length) follows, from
// 0x80 a record of (byte - 0x80) bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/CPanelDevice.h"
#include "panels/CPanelClass_Autopilot.h"
#include "panels/CPanelClass_Radios.h"
#include "panels/CPanelClass_Switch.h"
#include "simlink/CSimConnectLib.h"

namespace {

// The longest input report a unit could announce that the fuzzer tries.
constexpr std::size_t kLongestReport = 64;

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : m_rest(data, size) {}
  bool Empty() const { return m_rest.empty(); }
  std::uint8_t Next() {
    if (m_rest.empty()) return 0;
    const std::uint8_t byte = m_rest.front();
    m_rest = m_rest.subspan(1);
    return byte;
  }
  std::span<const std::uint8_t> Take(std::size_t count) {
    const auto taken = m_rest.first(std::min(count, m_rest.size()));
    m_rest = m_rest.subspan(taken.size());
    return taken;
  }

 private:
  std::span<const std::uint8_t> m_rest;
};

// No simulator: the behaviours decide and compose all the same; what they send goes nowhere.
CSimConnectLib& NoSimulator() {
  static CSimConnectLib binding(L"no-such-client-library");
  return binding;
}

template <class Panel>
void Feed(Bytes& input) {
  Panel panel(&NoSimulator());
  panel.Initialize();
  // Never opened: feature reports fail, as for a unit that went away.
  CPanelDevice unit;
  panel.OnDeviceOpened(unit);
  const std::size_t length = input.Next() % (kLongestReport + 1);
  std::vector<std::uint8_t> previous(length);
  std::vector<std::uint8_t> current(length);
  while (!input.Empty()) {
    const std::uint8_t step = input.Next();
    if (step >= 0x80) {
      const std::vector<std::uint8_t> record = [&] {
        const auto bytes = input.Take(step - 0x80u);
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
      }();
      panel.OnSimObjectData(panel.DefinitionId(), record);
      continue;
    }
    // A read fills as much of the buffer as the report was long; the rest keeps what the
    // read before left there.
    const auto report = input.Take(std::min<std::size_t>(step, length));
    std::ranges::copy(report, current.begin());
    panel.OnInputReport(unit, static_cast<std::uint32_t>(report.size()), previous, current);
    previous = current;
  }
  panel.OnDeviceStopping(unit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes input(data, size);
  switch (input.Next() % 3) {
    case 0:
      Feed<CPanelClass_Autopilot>(input);
      break;
    case 1:
      Feed<CPanelClass_Radios>(input);
      break;
    default:
      Feed<CPanelClass_Switch>(input);
      break;
  }
  return 0;
}
