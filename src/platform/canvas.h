#pragma once

// Drawing on a window's client area while it paints, in pixels from its top-left corner.

#include <cstdint>

namespace platform {

struct Point {
  int x;
  int y;

  friend bool operator==(const Point&, const Point&) = default;
};

// Left and top inside, right and bottom just outside, as window rectangles are.
struct Rect {
  int left;
  int top;
  int right;
  int bottom;

  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixels of this colour in a bitmap leave what is under them as it was.
inline constexpr Rgb kTransparentColour{0, 0, 255};

class Canvas {
 public:
  // The program's bitmap with this id, at its own size, its transparent pixels left out.
  virtual void DrawBitmap(std::uint16_t bitmapId, Point at) = 0;
  // An ellipse filled and outlined in the one colour, touching the sides of the box.
  virtual void DrawEllipse(Rgb colour, Rect box) = 0;

 protected:
  ~Canvas() = default;
};

}  // namespace platform
