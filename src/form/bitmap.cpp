#include "form/bitmap.h"

#include "platform/files.h"

namespace {

uint32_t U32(const std::string& d, size_t at) {
  return uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 | uint32_t(uint8_t(d[at + 2])) << 16 |
         uint32_t(uint8_t(d[at + 3])) << 24;
}
uint16_t U16(const std::string& d, size_t at) { return uint16_t(uint8_t(d[at]) | uint8_t(d[at + 1]) << 8); }

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

}  // namespace

bool LoadBitmapFile(const std::string& path, Bitmap& picture) {
  std::string d;
  if (!platform::ReadWholeFile(path, d) || d.size() < kFileHeaderSize + 12 || d[0] != 'B' || d[1] != 'M')
    return false;
  uint32_t pixelOffset = U32(d, 10);
  uint32_t infoSize = U32(d, kFileHeaderSize);
  int64_t width, height;
  uint16_t planes, bits;
  uint32_t compression = kRgb;
  if (infoSize == 12) {  // the old OS/2 core header
    width = U16(d, 18);
    height = int16_t(U16(d, 20));
    planes = U16(d, 22);
    bits = U16(d, 24);
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124) {
    if (d.size() < kFileHeaderSize + infoSize) return false;
    width = int32_t(U32(d, 18));
    height = int32_t(U32(d, 22));
    planes = U16(d, 26);
    bits = U16(d, 28);
    compression = U32(d, 30);
  } else {
    return false;
  }
  bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (planes != 1 || !knownDepth || width <= 0 || height == 0 || width > 32767 || height > 32767 ||
      height < -32767)
    return false;
  if (compression != kRgb && compression != kBitFields && !(compression == kRle8 && bits == 8) &&
      !(compression == kRle4 && bits == 4))
    return false;
  if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset >= d.size()) return false;
  if (compression == kRgb || compression == kBitFields) {
    uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
    uint64_t rows = uint64_t(height < 0 ? -height : height);
    if (stride * rows > d.size() - pixelOffset) return false;
  }
  picture.width = int32_t(width);
  picture.height = int32_t(height);
  picture.bitsPerPixel = bits;
  picture.data.swap(d);
  return true;
}
