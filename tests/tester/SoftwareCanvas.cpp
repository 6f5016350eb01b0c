#include "SoftwareCanvas.h"

#include <fstream>
#include <iterator>
#include <string>

namespace tester_art {

namespace {

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

}  // namespace

std::optional<Image> ReadBitmapFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  constexpr std::size_t kHeaders = 14 + 40;
  if (bytes.size() < kHeaders || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const auto width = static_cast<std::int32_t>(Little(bytes, 18, 4));
  const auto height = static_cast<std::int32_t>(Little(bytes, 22, 4));
  if (Little(bytes, 28, 2) != 24 || Little(bytes, 30, 4) != 0 || width <= 0 || height == 0) {
    return std::nullopt;
  }
  const bool bottomUp = height > 0;
  Image image{width, bottomUp ? height : -height, {}};
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const std::size_t offset = Little(bytes, 10, 4);
  if (bytes.size() < offset + stride * static_cast<std::size_t>(image.height)) return std::nullopt;
  for (int y = 0; y < image.height; ++y) {
    const std::size_t row =
        offset + stride * static_cast<std::size_t>(bottomUp ? image.height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      image.pixels.push_back({bytes[at + 2], bytes[at + 1], bytes[at]});
    }
  }
  return image;
}

std::optional<Image> ArtBitmap(std::uint16_t id) {
  const std::string prefix = std::to_string(id) + "_";
  for (const auto& entry : std::filesystem::directory_iterator(KOR_TESTER_ART_DIR)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix) && entry.path().extension() == ".bmp") {
      return ReadBitmapFile(entry.path());
    }
  }
  return std::nullopt;
}

std::vector<OverlayProbe> OverlayProbes(const Image& face) {
  std::vector<OverlayProbe> probes;
  for (const tester::SwitchRow& row : tester::kSwitchRows) {
    if (row.overlay == tester::kNoOverlay) continue;
    const auto overlay = ArtBitmap(row.overlay);
    if (!overlay) continue;
    [&] {
      for (int y = 0; y < overlay->height; ++y) {
        for (int x = 0; x < overlay->width; ++x) {
          const platform::Rgb pixel = overlay->At(x, y);
          const platform::Point at{row.origin.x + x, row.origin.y + y};
          if (pixel == platform::kTransparentColour || pixel == face.At(at.x, at.y)) continue;
          probes.push_back({&row, at, pixel});
          return;
        }
      }
    }();
  }
  return probes;
}

SoftwareCanvas::SoftwareCanvas(int width, int height, platform::Rgb background)
    : m_image{width, height,
              std::vector<platform::Rgb>(static_cast<std::size_t>(width * height), background)} {}

void SoftwareCanvas::Put(int x, int y, platform::Rgb colour) {
  if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height) return;
  m_image.pixels[static_cast<std::size_t>(y * m_image.width + x)] = colour;
}

void SoftwareCanvas::DrawBitmap(std::uint16_t bitmapId, platform::Point at) {
  const auto bitmap = ArtBitmap(bitmapId);
  if (!bitmap) {
    ++missing;
    return;
  }
  for (int y = 0; y < bitmap->height; ++y) {
    for (int x = 0; x < bitmap->width; ++x) {
      const platform::Rgb pixel = bitmap->At(x, y);
      if (pixel != platform::kTransparentColour) Put(at.x + x, at.y + y, pixel);
    }
  }
}

void SoftwareCanvas::DrawEllipse(platform::Rgb colour, platform::Rect box) {
  const double cx = (box.left + box.right) / 2.0;
  const double cy = (box.top + box.bottom) / 2.0;
  const double rx = (box.right - box.left) / 2.0;
  const double ry = (box.bottom - box.top) / 2.0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const double dx = (x + 0.5 - cx) / rx;
      const double dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) Put(x, y, colour);
    }
  }
}

}  // namespace tester_art
