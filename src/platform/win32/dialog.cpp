#include "platform/dialog.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/control_window.h"
#include "platform/win32/device_broadcast.h"

namespace platform {

namespace {

// An icon loaded as a copy of its own (not shared), which its loader has to destroy; the
// window it was set on does not.
class OwnedIcon {
 public:
  OwnedIcon() = default;
  ~OwnedIcon() { Reset(nullptr); }
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;

  HICON Get() const { return m_icon; }
  void Reset(HICON icon) {
    if (m_icon) DestroyIcon(m_icon);
    m_icon = icon;
  }

 private:
  HICON m_icon = nullptr;
};

class NativeDialog final : public Dialog {
 public:
  explicit NativeDialog(DialogHandler& handler) : m_handler(handler) {}

  WindowHandle Handle() const override { return m_window; }

  void Centre() override {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT over = work;
    const HWND owner = GetWindow(m_window, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &over);
    RECT own{};
    GetWindowRect(m_window, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG x = (over.left + over.right - width) / 2;
    LONG y = (over.top + over.bottom - height) / 2;
    // Inside the work area, its top-left corner first when it is the larger.
    x = std::max(work.left, std::min(x, work.right - width));
    y = std::max(work.top, std::min(y, work.bottom - height));
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void SetIcons(std::uint16_t iconGroupId) override {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto load = [&](OwnedIcon& icon, WPARAM which, int width, int height) {
      icon.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconGroupId), IMAGE_ICON,
                                               GetSystemMetrics(width), GetSystemMetrics(height),
                                               LR_DEFAULTCOLOR)));
      SendMessageW(m_window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.Get()));
    };
    load(m_bigIcon, ICON_BIG, SM_CXICON, SM_CYICON);
    load(m_smallIcon, ICON_SMALL, SM_CXSMICON, SM_CYSMICON);
  }

  std::unique_ptr<ControlWindow> ReplaceWithControl(int placeholderId, ControlHandler& handler,
                                                    const ControlArtwork& artwork) override {
    return CreateControlWindow(m_window, placeholderId, handler, artwork);
  }

  void End(int result) override { EndDialog(m_window, result); }

  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  DialogHandler& m_handler;
  HWND m_window = nullptr;
  // Outlive the dialog's window, which shows them until it is gone.
  OwnedIcon m_bigIcon;
  OwnedIcon m_smallIcon;
};

INT_PTR CALLBACK NativeDialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<NativeDialog*>(lParam);
    self->m_window = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->m_handler.OnInitDialog(*self);
    return TRUE;
  }
  auto* self = reinterpret_cast<NativeDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  switch (message) {
    case WM_DEVICECHANGE: {
      const auto record = ReadDeviceBroadcast(lParam);
      self->m_handler.OnDeviceChange(static_cast<std::uint32_t>(wParam),
                                     record ? &*record : nullptr);
      // 0 for every event: nothing is ever refused.
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    case WM_COMMAND: {
      const int item = LOWORD(wParam);
      if (item != IDOK && item != IDCANCEL) return FALSE;
      self->m_handler.OnCommand(*self, item);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int RunModalDialog(std::uint16_t templateId, DialogHandler& handler) {
  NativeDialog dialog(handler);
  return static_cast<int>(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                          GetActiveWindow(), NativeDialog::Procedure,
                                          reinterpret_cast<LPARAM>(&dialog)));
}

}  // namespace platform
