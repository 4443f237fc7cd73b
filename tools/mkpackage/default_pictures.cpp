#include "mkpackage/default_pictures.h"

#include <cstdint>
#include <cstdlib>
#include <functional>

namespace mkpackage {

namespace {

struct Rgb {
  int r, g, b;
};

// Positions are in eighths of a pixel: each pixel averages 4 x 4 samples, at odd eighths.
constexpr int kSub = 8;

const Rgb kNavy{16, 52, 110}, kSky{38, 124, 188}, kWhite{255, 255, 255}, kMist{222, 234, 247};

Rgb Mix(Rgb a, Rgb b, int64_t part, int64_t whole) {  // part / whole of the way from a to b
  return {int(a.r + (b.r - a.r) * part / whole), int(a.g + (b.g - a.g) * part / whole),
          int(a.b + (b.b - a.b) * part / whole)};
}

enum class Emblem { Outside, Disc, Mark };

// The emblem: a disc of radius r holding an arrow that points down into a tray.
Emblem EmblemAt(int64_t dx, int64_t dy, int64_t r) {
  if (dx * dx + dy * dy > r * r) return Emblem::Outside;
  const int64_t ax = 100 * std::llabs(dx), ay = 100 * dy;
  const bool stem = ax <= 14 * r && ay >= -55 * r && ay <= 5 * r;
  const bool head = ay >= 0 && ax <= 45 * r - ay;
  const bool bar = ay >= 58 * r && ay <= 70 * r && ax <= 58 * r;
  const bool posts = ay >= 30 * r && ay <= 70 * r && ax >= 46 * r && ax <= 58 * r;
  return stem || head || bar || posts ? Emblem::Mark : Emblem::Disc;
}

// A bottom-up 24-bit bitmap of the colour function, sampled in eighths of a pixel.
std::string Paint(int width, int height, const std::function<Rgb(int64_t, int64_t)>& colourAt) {
  const uint32_t stride = (uint32_t(width) * 3 + 3) / 4 * 4, pixels = stride * uint32_t(height);
  std::string bmp;
  auto put16 = [&bmp](uint32_t v) { bmp += char(v & 0xFF), bmp += char(v >> 8 & 0xFF); };
  auto put32 = [&put16](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  bmp += "BM";
  put32(54 + pixels), put32(0), put32(54);                        // BITMAPFILEHEADER
  put32(40), put32(uint32_t(width)), put32(uint32_t(height));     // BITMAPINFOHEADER
  put16(1), put16(24), put32(0), put32(pixels), put32(2835), put32(2835), put32(0), put32(0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      int r = 0, g = 0, b = 0;
      for (int sy = 1; sy < kSub; sy += 2)
        for (int sx = 1; sx < kSub; sx += 2) {
          const Rgb c = colourAt(int64_t(x) * kSub + sx, int64_t(y) * kSub + sy);
          r += c.r, g += c.g, b += c.b;
        }
      bmp += char(b / 16), bmp += char(g / 16), bmp += char(r / 16);
    }
    bmp.append(stride - uint32_t(width) * 3, '\0');
  }
  return bmp;
}

}  // namespace

std::string DefaultWizardPicture() {
  constexpr int64_t band = 164 * kSub, edge = 166 * kSub, height = kWizardHeight * kSub;
  constexpr int64_t cx = 82 * kSub, cy = 118 * kSub, r = 46 * kSub;
  return Paint(kWizardWidth, kWizardHeight, [&](int64_t x, int64_t y) {
    if (x >= edge) return kWhite;
    if (x >= band) return Rgb{150, 192, 232};  // a light seam between the band and the page
    const Rgb ground = Mix(kNavy, kSky, y, height);
    const Emblem part = EmblemAt(x - cx, y - cy, r);
    if (part == Emblem::Mark) return Mix(kNavy, kSky, cy - r / 2, height);
    if (part == Emblem::Disc) return Mix(ground, kWhite, 15, 16);
    // Faint rings spreading from the emblem.
    const int64_t d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    for (int64_t ring : {66, 92, 122, 156, 194}) {
      const int64_t inner = ring * kSub - kSub, outer = ring * kSub + kSub;
      if (d2 >= inner * inner && d2 <= outer * outer) return Mix(ground, kWhite, 3, 16);
    }
    return ground;
  });
}

std::string DefaultHeaderPicture() {
  constexpr int64_t fadeFrom = 330 * kSub, width = kHeaderWidth * kSub, line = (kHeaderHeight - 1) * kSub;
  constexpr int64_t cx = 470 * kSub, cy = 27 * kSub, r = 20 * kSub;
  return Paint(kHeaderWidth, kHeaderHeight, [&](int64_t x, int64_t y) {
    if (y >= line) return Rgb{196, 212, 232};  // the strip's lower edge
    const Emblem part = EmblemAt(x - cx, y - cy, r);
    if (part == Emblem::Mark) return kWhite;
    if (part == Emblem::Disc) return Mix(kSky, kNavy, y - (cy - r), 2 * r);
    return x < fadeFrom ? kWhite : Mix(kWhite, kMist, x - fadeFrom, width - fadeFrom);
  });
}

}  // namespace mkpackage
