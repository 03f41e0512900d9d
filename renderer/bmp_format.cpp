// Reading the Moon texture bitmap without Windows: the header fields, the refusals of
// files that the later steps could not handle inside the buffer, and the read itself.
#include "bmp_format.h"

#include <algorithm>
#include <new>

namespace halvane {
namespace {

std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Reads until count bytes have come or the source has no more; gives back the bytes read.
std::uint64_t ReadFully(BmpSource& source, std::uint8_t* destination, std::uint64_t count) {
  std::uint64_t done = 0;
  while (done < count) {
    const std::size_t got = source.Read(destination + done, static_cast<std::size_t>(count - done));
    if (got == 0) break;
    done += got;
  }
  return done;
}

// Reads and drops count bytes; gives back how many there were.
std::uint64_t SkipBytes(BmpSource& source, std::uint64_t count) {
  std::uint8_t scratch[4096];
  std::uint64_t done = 0;
  while (done < count) {
    const std::uint64_t chunk = std::min<std::uint64_t>(sizeof scratch, count - done);
    const std::uint64_t got = ReadFully(source, scratch, chunk);
    done += got;
    if (got < chunk) break;
  }
  return done;
}

}  // namespace

BmpHeader ParseBmpHeader(const std::uint8_t (&bytes)[kBmpHeaderBytes]) {
  BmpHeader header;
  header.width = static_cast<std::int32_t>(Le32(bytes + 18));
  header.height = static_cast<std::int32_t>(Le32(bytes + 22));
  header.bitCount = Le16(bytes + 28);
  header.compression = Le32(bytes + 30);
  header.sizeImage = Le32(bytes + 34);
  header.clrUsed = Le32(bytes + 46);
  return header;
}

std::uint32_t BmpPixelDataSize(const BmpHeader& header) {
  if (header.sizeImage != 0) return header.sizeImage;
  const std::uint32_t product = static_cast<std::uint32_t>(header.width) *
                                static_cast<std::uint32_t>(header.height) * header.bitCount;
  return product >> 3;
}

bool BmpIsEmpty(const BmpHeader& header) {
  return header.sizeImage == 0 && (header.width == 0 || header.height == 0);
}

const char* BmpRefusalText(BmpRefusal refusal) {
  switch (refusal) {
    case BmpRefusal::None: return "";
    case BmpRefusal::ShortHeader: return "Bitmap file is shorter than its 54-byte header";
    case BmpRefusal::ColourTableTooLarge: return "Bitmap colour table is too large";
    case BmpRefusal::FewBits: return "Bitmap has fewer than 24 bits per pixel";
    case BmpRefusal::Compressed: return "Bitmap data is compressed";
    case BmpRefusal::NegativeWidth: return "Bitmap width is negative";
    case BmpRefusal::TopDown: return "Bitmap is stored top-down (negative height)";
    case BmpRefusal::TooLarge: return "Bitmap is too large";
    case BmpRefusal::RowFill: return "Bitmap rows carry fill bytes (width x 3 is not a multiple of 4)";
    case BmpRefusal::DataTooSmall: return "Bitmap pixel data is smaller than width x height x 3 bytes";
  }
  return "Bitmap cannot be read";
}

BmpRefusal CheckBmpHeader(const BmpHeader& header) {
  if (header.clrUsed > kBmpMaxColourEntries) return BmpRefusal::ColourTableTooLarge;
  if (BmpIsEmpty(header)) return BmpRefusal::None;
  if (header.bitCount < 24) return BmpRefusal::FewBits;
  if (header.compression != 0) return BmpRefusal::Compressed;
  if (header.width < 0) return BmpRefusal::NegativeWidth;
  if (header.height < 0) return BmpRefusal::TopDown;
  const std::uint64_t needed = static_cast<std::uint64_t>(header.width) *
                               static_cast<std::uint64_t>(header.height) * 3u;
  const std::uint64_t size = BmpPixelDataSize(header);
  if (needed > kBmpMaxDataBytes || size > kBmpMaxDataBytes) return BmpRefusal::TooLarge;
  if ((static_cast<std::uint64_t>(header.width) * 3u) % 4u != 0) return BmpRefusal::RowFill;
  if (size < needed) return BmpRefusal::DataTooSmall;
  return BmpRefusal::None;
}

std::uint64_t BmpUploadBytes(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  const std::uint64_t row = static_cast<std::uint64_t>(width) * 3u;
  const std::uint64_t stride = (row + 3u) / 4u * 4u;
  return stride * static_cast<std::uint64_t>(height - 1) + row;
}

void SwapBlueRed(std::uint8_t* pixels, std::uint64_t count) {
  for (std::uint64_t p = 0; p < count; ++p) std::swap(pixels[3 * p], pixels[3 * p + 2]);
}

BmpReadResult ReadBmp(BmpSource& source) {
  BmpReadResult result;

  std::uint8_t headerBytes[kBmpHeaderBytes] = {};
  if (ReadFully(source, headerBytes, sizeof headerBytes) < sizeof headerBytes) {
    result.message = BmpRefusalText(BmpRefusal::ShortHeader);
    return result;
  }
  const BmpHeader header = ParseBmpHeader(headerBytes);
  const BmpRefusal refusal = CheckBmpHeader(header);
  if (refusal != BmpRefusal::None) {
    result.message = BmpRefusalText(refusal);
    return result;
  }

  // The colour table is read past, not kept.
  const std::uint64_t tableBytes = static_cast<std::uint64_t>(header.clrUsed) * 4u;
  if (SkipBytes(source, tableBytes) != tableBytes) {
    result.message = "Error reading palette";
    return result;
  }

  result.width = header.width;
  result.height = header.height;
  const std::uint32_t size = BmpPixelDataSize(header);
  if (size == 0) return result;

  try {
    result.pixels.assign(size, 0);
  } catch (const std::bad_alloc&) {
    result.message = "Not enough memory for the bitmap data";
    return result;
  }
  result.hasPixels = true;

  if (ReadFully(source, result.pixels.data(), size) != size) {
    result.message = "Error reading bitmap data";
    return result;
  }

  // Pixels exist only when both sides are positive (CheckBmpHeader refused negatives).
  const std::uint64_t count = static_cast<std::uint64_t>(std::max(header.width, 0)) *
                              static_cast<std::uint64_t>(std::max(header.height, 0));
  SwapBlueRed(result.pixels.data(), count);
  return result;
}

std::string BmpOpeningErrorText(const std::string& path) {
  return "Error opening \"" + path;
}

std::string BmpUnableToLoadText(const std::string& path) {
  return "Unable to load " + path;
}

}  // namespace halvane
