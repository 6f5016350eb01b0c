#pragma once

// The tester's picture painted in memory from the committed bitmaps, as the window system
// would paint it: pure blue in a bitmap leaves what is under it, and an ellipse covers the
// pixels whose centres lie inside it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/canvas.h"
#include "tester/SwitchLayout.h"

namespace tester_art {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<platform::Rgb> pixels;  // rows top down

  platform::Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A 24-bit uncompressed bitmap file; nothing when the file is anything else.
std::optional<Image> ReadBitmapFile(const std::filesystem::path& file);

// The bitmap with this resource id from the folder of the tester's art, whose files are
// named after their ids.
std::optional<Image> ArtBitmap(std::uint16_t id);

// Where an overlay shows on the face: its first drawn pixel that differs from the face
// beneath it, which for every rocker is the overlay's origin.
struct OverlayProbe {
  const tester::SwitchRow* row;
  platform::Point at;
  platform::Rgb overlay;
};

// One probe per overlay; an overlay that would not show on the face has none.
std::vector<OverlayProbe> OverlayProbes(const Image& face);

class SoftwareCanvas : public platform::Canvas {
 public:
  SoftwareCanvas(int width, int height, platform::Rgb background);

  void DrawBitmap(std::uint16_t bitmapId, platform::Point at) override;
  void DrawEllipse(platform::Rgb colour, platform::Rect box) override;

  const Image& image() const { return m_image; }
  // Bitmaps asked for that could not be read.
  int missing = 0;

 private:
  void Put(int x, int y, platform::Rgb colour);
  Image m_image;
};

}  // namespace tester_art
