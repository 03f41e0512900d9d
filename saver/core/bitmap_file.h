// Windows-free reading and writing of 24-bit uncompressed bitmap files.
//
// The host carries its pictures as bitmap files (resources) and hands the Moon texture to
// the renderer as "Halvane.bmp". The renderer reads that file in one fixed form: a 14-byte
// file header, a 40-byte information header, no colour table, then the pixel rows bottom
// row first, three bytes a pixel (blue, green, red) and rows padded to 4 bytes.
// EncodeBitmapFile writes exactly that form; DecodeBitmapFile reads it back, and also the
// top-down variant, and refuses everything else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace halvane {

// A picture of width x height pixels, rows bottom row first, each row width * 3 bytes
// (blue, green, red) with no padding between rows.
struct BitmapImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bgr;
};

constexpr size_t kBitmapHeaderBytes = 54;   // file header + information header
constexpr int32_t kBitmapMaxSide = 16384;   // larger pictures are refused

// Bytes of one stored row: width * 3 rounded up to a multiple of 4.
size_t BitmapRowStride(int32_t width);

// The complete file for an image; empty when the image is not consistent (a side out of
// 1..kBitmapMaxSide, or bgr not width * height * 3 bytes).
std::vector<uint8_t> EncodeBitmapFile(const BitmapImage& image);

// Reads a 24-bit BI_RGB bitmap file (a colour table, if announced, is skipped). nullopt for
// anything else or for a file too short for its rows.
std::optional<BitmapImage> DecodeBitmapFile(const uint8_t* data, size_t size);

}  // namespace halvane
