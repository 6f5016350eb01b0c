#include <gtest/gtest.h>
#include <windows.h>

#include "platform/dialog.h"
#include "platform/dialog_win32_test_ids.h"

namespace {

// Looks at the dialog as it starts, sets the icons, and ends it at once.
class FirstLook final : public platform::DialogHandler {
 public:
  void OnInitDialog(platform::Dialog& dialog) override {
    const HWND window = static_cast<HWND>(dialog.Handle());
    style = GetWindowLongW(window, GWL_STYLE);
    dialog.SetIcons(KOR_TEST_ICON);
    bigIcon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    smallIcon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    dialog.End(7);
  }
  void OnDeviceChange(std::uint32_t, const platform::DeviceBroadcast*) override {}
  void OnCommand(platform::Dialog&, int) override {}

  LONG style = 0;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
};

bool IconExists(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return true;
}

// A modal dialog keeps the styles of its template, without a modal frame the template does
// not ask for, and its two icons are gone once it has ended.
TEST(ModalDialog, KeepsItsTemplatesStyleAndDestroysItsIconsWhenItEnds) {
  FirstLook look;
  EXPECT_EQ(platform::RunModalDialog(KOR_TEST_DIALOG, look), 7);
  EXPECT_EQ(look.style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(look.style & DS_MODALFRAME, 0) << "the system added a modal frame";
  ASSERT_NE(look.bigIcon, nullptr);
  ASSERT_NE(look.smallIcon, nullptr);
  EXPECT_FALSE(IconExists(look.bigIcon));
  EXPECT_FALSE(IconExists(look.smallIcon));
}

}  // namespace
