#include "platform/win32/control_window.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace platform {

namespace {

constexpr wchar_t kClassName[] = L"KorvaneSwitchPicture";
constexpr wchar_t kWindowText[] = L"KorSwitchTestCtrl";
// IDC_ARROW, whose macro names the narrow form in a build without UNICODE.
constexpr WORD kArrowCursor = 32512;

COLORREF Native(Rgb colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

// The bitmaps and, for each colour, a brush and a pen: made once, kept for every paint.
class Artwork {
 public:
  explicit Artwork(const ControlArtwork& artwork) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const std::uint16_t id : artwork.bitmapIds) {
      m_bitmaps.push_back(
          {id, static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                               LR_DEFAULTSIZE))});
    }
    for (const Rgb colour : artwork.colours) {
      m_colours.push_back(
          {colour, CreateSolidBrush(Native(colour)), CreatePen(PS_SOLID, 1, Native(colour))});
    }
  }
  ~Artwork() {
    for (const auto& bitmap : m_bitmaps) {
      if (bitmap.handle) DeleteObject(bitmap.handle);
    }
    for (const auto& colour : m_colours) {
      if (colour.brush) DeleteObject(colour.brush);
      if (colour.pen) DeleteObject(colour.pen);
    }
  }
  Artwork(const Artwork&) = delete;
  Artwork& operator=(const Artwork&) = delete;

  HBITMAP Bitmap(std::uint16_t id) const {
    const auto found = std::ranges::find(m_bitmaps, id, &LoadedBitmap::id);
    return found == m_bitmaps.end() ? nullptr : found->handle;
  }
  struct Colour {
    Rgb rgb;
    HBRUSH brush;
    HPEN pen;
  };
  const Colour* Find(Rgb rgb) const {
    const auto found = std::ranges::find(m_colours, rgb, &Colour::rgb);
    return found == m_colours.end() ? nullptr : &*found;
  }

 private:
  struct LoadedBitmap {
    std::uint16_t id;
    HBITMAP handle;
  };
  std::vector<LoadedBitmap> m_bitmaps;
  std::vector<Colour> m_colours;
};

class GdiCanvas final : public Canvas {
 public:
  GdiCanvas(HDC target, const Artwork& artwork) : m_target(target), m_artwork(artwork) {}

  void DrawBitmap(std::uint16_t bitmapId, Point at) override {
    const HBITMAP bitmap = m_artwork.Bitmap(bitmapId);
    BITMAP size{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(size), &size)) return;
    const HDC memory = CreateCompatibleDC(m_target);
    if (!memory) return;
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    TransparentBlt(m_target, at.x, at.y, size.bmWidth, size.bmHeight, memory, 0, 0, size.bmWidth,
                   size.bmHeight, Native(kTransparentColour));
    SelectObject(memory, previous);
    DeleteDC(memory);
  }

  void DrawEllipse(Rgb rgb, Rect box) override {
    const Artwork::Colour* colour = m_artwork.Find(rgb);
    if (!colour) return;
    const HGDIOBJ previousBrush = SelectObject(m_target, colour->brush);
    const HGDIOBJ previousPen = SelectObject(m_target, colour->pen);
    Ellipse(m_target, box.left, box.top, box.right, box.bottom);
    SelectObject(m_target, previousPen);
    SelectObject(m_target, previousBrush);
  }

 private:
  HDC m_target;
  const Artwork& m_artwork;
};

class NativeControlWindow final : public ControlWindow {
 public:
  NativeControlWindow(ControlHandler& handler, const ControlArtwork& artwork)
      : m_handler(handler), m_artwork(artwork) {}
  // The art goes only after the window, which may still be painting with it.
  ~NativeControlWindow() override {
    if (const HWND window = m_window.load()) DestroyWindow(window);
  }

  bool Create(HWND dialog, int placeholderId);

  bool Exists() const override { return m_window.load() != nullptr; }
  void Invalidate(const Rect& area) override {
    const RECT native{area.left, area.top, area.right, area.bottom};
    if (const HWND window = m_window.load()) InvalidateRect(window, &native, FALSE);
  }
  void SetTimer(std::uint32_t id, std::uint32_t periodMs) override {
    if (const HWND window = m_window.load()) ::SetTimer(window, id, periodMs, nullptr);
  }
  void KillTimer(std::uint32_t id) override {
    if (const HWND window = m_window.load()) ::KillTimer(window, id);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool RegisterClassOnce();

  ControlHandler& m_handler;
  Artwork m_artwork;
  // Read by the reader thread's repaint requests, cleared as the window goes.
  std::atomic<HWND> m_window = nullptr;
};

LRESULT CALLBACK NativeControlWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<NativeControlWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->m_window = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC target = BeginPaint(hwnd, &paint);
      GdiCanvas canvas(target, self->m_artwork);
      self->m_handler.OnPaint(canvas);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      // Every paint draws the whole face over the area; erasing first would only flicker.
      return 0;
    case WM_TIMER:
      self->m_handler.OnTimer();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->m_window = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool NativeControlWindow::RegisterClassOnce() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass);
  }();
  return atom != 0;
}

bool NativeControlWindow::Create(HWND dialog, int placeholderId) {
  RECT area{};
  if (const HWND placeholder = GetDlgItem(dialog, placeholderId)) {
    GetWindowRect(placeholder, &area);
    DestroyWindow(placeholder);
  }
  POINT corners[] = {{area.left, area.top}, {area.right, area.bottom}};
  ScreenToClient(dialog, &corners[0]);
  ScreenToClient(dialog, &corners[1]);
  if (!RegisterClassOnce()) return false;
  const HWND window = CreateWindowExW(
      0, kClassName, kWindowText, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
      corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(placeholderId)), GetModuleHandleW(nullptr),
      this);
  if (!window) return false;
  BringWindowToTop(window);
  return true;
}

}  // namespace

std::unique_ptr<ControlWindow> CreateControlWindow(HWND dialog, int placeholderId,
                                                   ControlHandler& handler,
                                                   const ControlArtwork& artwork) {
  auto window = std::make_unique<NativeControlWindow>(handler, artwork);
  if (!window->Create(dialog, placeholderId)) return nullptr;
  return window;
}

}  // namespace platform
