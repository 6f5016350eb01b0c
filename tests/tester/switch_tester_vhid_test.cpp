// The tester's device side against units on the virtual bus: finding the panel, following
// its arrival and removal, reading its switches and running the lamp test.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "TesterFakes.h"
#include "panels/PanelModels.h"
#include "platform/messages.h"
#include "support/VirtualUnit.h"
#include "tester/CMainDlg.h"
#include "tester/CSwitchCtrl.h"

namespace {

using namespace panels::switch_panel;
using platform::Rect;
using platform::vhid::Report;
using tester::LampState;
using tester_fakes::Drawn;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint32_t kTimer = 12345;
const Report kDark{0x00, 0x00};
constexpr platform::Rgb kGreen{0, 255, 0};
constexpr platform::Rgb kRed{255, 0, 0};
constexpr platform::Rgb kYellow{255, 255, 0};

VirtualUnit SwitchUnit(const wchar_t* path) {
  return {path, panels::kSwitchPanel.vendorId, panels::kSwitchPanel.productId, kInputReportLength};
}

std::vector<Drawn> Lamps(tester::CSwitchCtrl& ctrl) {
  tester_fakes::RecordingCanvas canvas;
  ctrl.OnPaint(canvas);
  std::vector<Drawn> lamps;
  for (const Drawn& drawn : canvas.drawn) {
    if (drawn.bitmap == 0) lamps.push_back(drawn);
  }
  return lamps;
}

std::vector<std::uint16_t> Overlays(tester::CSwitchCtrl& ctrl) {
  tester_fakes::RecordingCanvas canvas;
  ctrl.OnPaint(canvas);
  std::vector<std::uint16_t> overlays;
  for (const Drawn& drawn : canvas.drawn) {
    if (drawn.bitmap > 202) overlays.push_back(drawn.bitmap);
  }
  return overlays;
}

struct StepCase {
  std::uint8_t bits;
  std::vector<Drawn> lamps;
};

TEST(SwitchTester, LampTestRunsTenStepsOnThePanelAndInThePictureAndStartsOverAfterRemoval) {
  const Drawn nose{0, {472, 102}, {}}, left{0, {453, 137}, {}}, right{0, {491, 137}, {}};
  const auto lit = [](Drawn lamp, platform::Rgb colour) { return lamp.colour = colour, lamp; };
  const std::vector<StepCase> steps = {
      {0x01, {lit(nose, kGreen)}},  {0x09, {lit(nose, kYellow)}},
      {0x08, {lit(nose, kRed)}},    {0x02, {lit(left, kGreen)}},
      {0x12, {lit(left, kYellow)}}, {0x10, {lit(left, kRed)}},
      {0x04, {lit(right, kGreen)}}, {0x24, {lit(right, kYellow)}},
      {0x20, {lit(right, kRed)}},   {0x00, {}},
      {0x01, {lit(nose, kGreen)}},
  };
  const auto unit = SwitchUnit(L"\\\\?\\hid#vid_1c7a&pid_0b23#lamp-test");
  tester_fakes::FakeDialog dialog;
  tester::CSwitchCtrl ctrl;
  ASSERT_TRUE(ctrl.CreateAndConnect(dialog, 1000, unit.path()));
  EXPECT_EQ(dialog.placeholder, 1000);
  EXPECT_EQ(dialog.window->artworkBitmaps, 20u);
  EXPECT_TRUE(dialog.window->TimerRuns(kTimer));
  EXPECT_THAT(unit.Features(), ElementsAre(kDark));

  for (std::size_t tick = 0; tick < steps.size(); ++tick) {
    dialog.window->TakeInvalidated();
    ctrl.OnTimer();
    EXPECT_EQ(unit.Features().back(), (Report{0x00, steps[tick].bits})) << "tick " << tick + 1;
    EXPECT_THAT(Lamps(ctrl), ::testing::ElementsAreArray(steps[tick].lamps)) << "tick " << tick + 1;
    EXPECT_THAT(dialog.window->TakeInvalidated(), ElementsAre(Rect{438, 86, 510, 155}));
  }

  // Pulled out mid-cycle: the test stops, and a panel arriving later starts from step 1.
  EXPECT_TRUE(ctrl.OnPanelRemoved(unit.path()));
  EXPECT_FALSE(dialog.window->TimerRuns(kTimer));
  EXPECT_THAT(Lamps(ctrl), IsEmpty());
  const auto later = SwitchUnit(L"\\\\?\\hid#vid_1c7a&pid_0b23#later");
  EXPECT_TRUE(ctrl.OnPanelArrived(later.path()));
  ctrl.OnTimer();
  EXPECT_THAT(later.Features(), ElementsAre(kDark, (Report{0x00, 0x01})));
}

TEST(SwitchTester, ReportsAreDrawnAndKeptAfterTheRemovalWhichMatchesInOtherLetterCase) {
  const auto unit = SwitchUnit(L"\\\\?\\HID#Vid_1C7A&Pid_0B23#Case");
  tester_fakes::FakeDialog dialog;
  tester::CSwitchCtrl ctrl;
  ASSERT_TRUE(ctrl.CreateAndConnect(dialog, 1000, unit.path()));
  dialog.window->TakeInvalidated();
  unit.Push({0x00, 0x01, 0x00, 0x04});
  ASSERT_TRUE(unit.Settle());
  EXPECT_THAT(dialog.window->TakeInvalidated(),
              ElementsAre(Rect{202, 43, 222, 99}, Rect{533, 60, 593, 188}));
  EXPECT_THAT(Overlays(ctrl), ElementsAre(203, 221));

  EXPECT_FALSE(ctrl.OnPanelRemoved(L"\\\\?\\hid#vid_1c7a&pid_0b23#other"));
  EXPECT_TRUE(dialog.window->TimerRuns(kTimer));
  EXPECT_TRUE(ctrl.OnPanelRemoved(L"\\\\?\\hid#VID_1c7a&PID_0b23#cASE"));
  EXPECT_FALSE(dialog.window->TimerRuns(kTimer));
  EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0) << "the reader has ended";
  EXPECT_THAT(unit.Features(), ElementsAre(kDark)) << "nothing is written at removal";
  EXPECT_THAT(Overlays(ctrl), ElementsAre(203, 221)) << "the last positions stay on screen";
}

TEST(SwitchTester, ASecondPanelIsIgnoredWhileOneIsAttachedAndNotTakenUntilItArrivesAgain) {
  const auto first = SwitchUnit(L"first");
  const auto second = SwitchUnit(L"second");
  tester_fakes::FakeDialog dialog;
  tester::CSwitchCtrl ctrl;
  ASSERT_TRUE(ctrl.CreateAndConnect(dialog, 1000, first.path()));
  EXPECT_FALSE(ctrl.OnPanelArrived(second.path()));
  ctrl.OnTimer();
  EXPECT_THAT(second.Features(), IsEmpty());
  EXPECT_TRUE(ctrl.OnPanelRemoved(first.path()));
  ctrl.OnTimer();
  EXPECT_THAT(second.Features(), IsEmpty());
  EXPECT_TRUE(ctrl.OnPanelArrived(second.path()));
  second.Push({0x00, 0x00, 0x10, 0x00});
  ASSERT_TRUE(second.Settle());
  EXPECT_THAT(Overlays(ctrl), ElementsAre(215));
}

// A bare "-l": no panel is opened, yet the lamps in the picture cycle; a panel plugged in
// later is attached and read, though the first reader ended at once.
TEST(SwitchTester, BareDashLRunsThePicturesLampTestWithoutAPanelAndTakesOneThatArrives) {
  tester_fakes::FakeDialog dialog;
  tester::CMainDlg main({L"KorSwitchTest.exe", L"-l"});
  main.OnInitDialog(dialog);
  ASSERT_NE(dialog.control, nullptr);
  EXPECT_TRUE(dialog.window->TimerRuns(kTimer));
  auto& ctrl = static_cast<tester::CSwitchCtrl&>(*dialog.control);
  ctrl.OnTimer();
  ctrl.OnTimer();
  EXPECT_THAT(Lamps(ctrl), ElementsAre(Drawn{0, {472, 102}, kYellow}));

  const auto unit = SwitchUnit(L"plugged-after-bare-l");
  const platform::DeviceBroadcast arrival{platform::kDbtDevTypDeviceInterface, unit.path()};
  main.OnDeviceChange(platform::kDbtDeviceArrival, &arrival);
  EXPECT_THAT(unit.Features(), ElementsAre(kDark));
  unit.Push({0x00, 0x00, 0x00, 0x02});
  ASSERT_TRUE(unit.Settle());
  EXPECT_THAT(Overlays(ctrl), ElementsAre(220));
}

TEST(SwitchTester, DialogFindsTheFirstSwitchPanelAndIgnoresOtherDevices) {
  const VirtualUnit radio(L"radio", panels::kRadioPanel.vendorId, panels::kRadioPanel.productId,
                          23);
  const auto unit = SwitchUnit(L"switch-present");
  tester_fakes::FakeDialog dialog;
  {
    tester::CMainDlg main({L"KorSwitchTest.exe"});
    main.OnInitDialog(dialog);
    EXPECT_EQ(dialog.centred, 1);
    EXPECT_EQ(dialog.icons, 128);
    EXPECT_THAT(unit.Features(), ElementsAre(kDark));
    EXPECT_THAT(radio.Features(), IsEmpty());
    EXPECT_FALSE(tester::CMainDlg::IsSwitchPanel(radio.path()));

    const platform::DeviceBroadcast removal{platform::kDbtDevTypDeviceInterface, radio.path()};
    main.OnDeviceChange(platform::kDbtDeviceRemoveComplete, &removal);
    main.OnDeviceChange(platform::kDbtDeviceRemoveComplete, nullptr);
    EXPECT_TRUE(dialog.window->TimerRuns(kTimer));

    main.OnCommand(dialog, 1);
    EXPECT_EQ(dialog.result, 1);
    main.OnCommand(dialog, 2);
    EXPECT_EQ(dialog.result, 2);
    static_cast<tester::CSwitchCtrl*>(dialog.control)->OnTimer();
  }
  // Closed with the panel attached: its lamps are left dark, and its handles closed.
  EXPECT_THAT(unit.Features(), ElementsAre(kDark, (Report{0x00, 0x01}), kDark));
  EXPECT_EQ(platform::vhid::OpenHandles(unit.path()), 0);
}

TEST(SwitchTester, WithoutASwitchPanelThePictureShowsAndNothingRuns) {
  const VirtualUnit foreign(L"foreign", panels::kPanelVendorId, 0x0B99, kInputReportLength);
  tester_fakes::FakeDialog dialog;
  tester::CMainDlg main({L"KorSwitchTest.exe", L"-x"});
  main.OnInitDialog(dialog);
  EXPECT_NE(dialog.control, nullptr);
  EXPECT_FALSE(dialog.window->TimerRuns(kTimer));
  EXPECT_EQ(platform::vhid::OpenHandles(foreign.path()), 0);
}

}  // namespace
