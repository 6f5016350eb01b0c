#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "host/CMainDlg.h"
#include "platform/posix/message_pump.h"
#include "platform/posix/virtual_hid_bus.h"
#include "simstub/SimStub.h"

// The plug-in's real main window against a fresh stand-in simulator, for one test.
class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override { simstub::Reset(); }
  void TearDown() override {
    window.reset();
    // Whatever the window left behind must not reach the next test's loop.
    while (platform::posix::DispatchPendingMessages()) {
    }
    platform::vhid::Reset();
  }

  bool Create() { return window.emplace().Create(); }
  static void Pump() { ASSERT_EQ(platform::posix::DispatchPendingMessages(), std::nullopt); }

  std::optional<CMainDlg> window;
};
