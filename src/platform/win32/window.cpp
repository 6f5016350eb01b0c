#include "platform/window.h"

#include <windows.h>
// dbt.h needs the Windows types first.
#include <dbt.h>

#include <string>

#include "platform/messages.h"
#include "platform/win32/device_broadcast.h"

static_assert(platform::kWmCreate == WM_CREATE && platform::kWmDestroy == WM_DESTROY &&
              platform::kWmQuit == WM_QUIT && platform::kWmDeviceChange == WM_DEVICECHANGE &&
              platform::kWmUser == WM_USER);
static_assert(platform::kDbtDeviceArrival == DBT_DEVICEARRIVAL &&
              platform::kDbtDeviceQueryRemove == DBT_DEVICEQUERYREMOVE &&
              platform::kDbtDeviceRemoveComplete == DBT_DEVICEREMOVECOMPLETE &&
              platform::kDbtDevTypDeviceInterface == DBT_DEVTYP_DEVICEINTERFACE);

namespace platform {

struct Window::Impl {
  WindowHandler* handler;
  HWND hwnd = nullptr;  // set as the system creates the window, cleared as it goes
};

namespace {

constexpr wchar_t kClassName[] = L"KorvanePluginWindow";

LRESULT OnDeviceChange(WindowHandler& handler, WPARAM event, LPARAM lParam) {
  const auto record = ReadDeviceBroadcast(lParam);
  handler.OnDeviceChange(static_cast<std::uint32_t>(event), record ? &*record : nullptr);
  return 0;
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* impl =
        static_cast<Window::Impl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    impl->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
  }
  auto* impl = reinterpret_cast<Window::Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!impl) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      return impl->handler->OnCreate() ? 1 : -1;
    case WM_DESTROY:
      impl->handler->OnDestroy();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      impl->hwnd = nullptr;
      break;
    case WM_DEVICECHANGE:
      // 0 answers every query: a unit asked about has already been let go.
      return OnDeviceChange(*impl->handler, wParam, lParam);
    case WM_USER:
      impl->handler->OnUserMessage();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass);
  }();
  return atom != 0;
}

}  // namespace

Window::Window() = default;

Window::~Window() {
  Destroy();
}

bool Window::Create(WindowHandler& handler, std::wstring_view title) {
  if (!RegisterWindowClass()) return false;
  impl_ = std::make_unique<Impl>(Impl{&handler});
  // A pop-up without WS_VISIBLE: never shown, no taskbar entry, no owner.
  return CreateWindowExW(0, kClassName, std::wstring(title).c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, GetModuleHandleW(nullptr), impl_.get()) != nullptr;
}

void Window::Destroy() {
  if (impl_ && impl_->hwnd) DestroyWindow(impl_->hwnd);
}

WindowHandle Window::Handle() const {
  return impl_ ? impl_->hwnd : nullptr;
}

void PostQuit(int exitCode) {
  PostQuitMessage(exitCode);
}

int RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);
    // -1 is a failed retrieval, not a message: try again.
    if (result == -1) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace platform
