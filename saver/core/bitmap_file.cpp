#include "core/bitmap_file.h"

#include <cstring>

namespace halvane {
namespace {

void PutU16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  PutU16(out, at, v & 0xFFFFu);
  PutU16(out, at + 2, v >> 16);
}

uint32_t GetU16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8); }

uint32_t GetU32(const uint8_t* p) { return GetU16(p) | (GetU16(p + 2) << 16); }

bool SideOk(int64_t side) { return side >= 1 && side <= kBitmapMaxSide; }

}  // namespace

size_t BitmapRowStride(int32_t width) {
  return ((static_cast<size_t>(width) * 3u) + 3u) & ~static_cast<size_t>(3u);
}

std::vector<uint8_t> EncodeBitmapFile(const BitmapImage& image) {
  if (!SideOk(image.width) || !SideOk(image.height)) return {};
  const size_t row = static_cast<size_t>(image.width) * 3u;
  if (image.bgr.size() != row * static_cast<size_t>(image.height)) return {};

  const size_t stride = BitmapRowStride(image.width);
  const size_t pixelBytes = stride * static_cast<size_t>(image.height);
  std::vector<uint8_t> out(kBitmapHeaderBytes + pixelBytes, 0);

  // File header.
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<uint32_t>(out.size()));
  PutU32(out, 10, static_cast<uint32_t>(kBitmapHeaderBytes));
  // Information header.
  PutU32(out, 14, 40);
  PutU32(out, 18, static_cast<uint32_t>(image.width));
  PutU32(out, 22, static_cast<uint32_t>(image.height));  // positive: bottom-up
  PutU16(out, 26, 1);                                    // planes
  PutU16(out, 28, 24);                                   // bits per pixel
  PutU32(out, 30, 0);                                    // BI_RGB
  PutU32(out, 34, static_cast<uint32_t>(pixelBytes));
  PutU32(out, 38, 2835);                                 // 72 dpi
  PutU32(out, 42, 2835);
  PutU32(out, 46, 0);                                    // no colour table
  PutU32(out, 50, 0);

  for (int32_t y = 0; y < image.height; ++y) {
    std::memcpy(out.data() + kBitmapHeaderBytes + static_cast<size_t>(y) * stride,
                image.bgr.data() + static_cast<size_t>(y) * row, row);
  }
  return out;
}

std::optional<BitmapImage> DecodeBitmapFile(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kBitmapHeaderBytes) return std::nullopt;
  if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const uint32_t offBits = GetU32(data + 10);
  const uint32_t infoSize = GetU32(data + 14);
  if (infoSize < 40 || infoSize > size - 14) return std::nullopt;
  const int32_t width = static_cast<int32_t>(GetU32(data + 18));
  const int32_t rawHeight = static_cast<int32_t>(GetU32(data + 22));
  const uint32_t planes = GetU16(data + 26);
  const uint32_t bits = GetU16(data + 28);
  const uint32_t compression = GetU32(data + 30);
  if (planes != 1 || bits != 24 || compression != 0) return std::nullopt;

  const bool topDown = rawHeight < 0;
  const int64_t height = topDown ? -static_cast<int64_t>(rawHeight) : rawHeight;
  if (!SideOk(width) || !SideOk(height)) return std::nullopt;

  const size_t stride = BitmapRowStride(width);
  const size_t pixelBytes = stride * static_cast<size_t>(height);
  if (offBits < 14u + infoSize || offBits > size || size - offBits < pixelBytes) return std::nullopt;

  BitmapImage image;
  image.width = width;
  image.height = static_cast<int32_t>(height);
  const size_t row = static_cast<size_t>(width) * 3u;
  image.bgr.resize(row * static_cast<size_t>(height));
  for (int64_t y = 0; y < height; ++y) {
    const int64_t stored = topDown ? height - 1 - y : y;  // our rows are bottom-up
    std::memcpy(image.bgr.data() + static_cast<size_t>(y) * row,
                data + offBits + static_cast<size_t>(stored) * stride, row);
  }
  return image;
}

}  // namespace halvane
