// Reading the Moon texture bitmap: header fields, the checks that keep every later step
// inside the pixel buffer, and the read itself over any byte source. Windows-free; the
// Win32 side (bmp.cpp) supplies the file and shows the messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace halvane {

// The file header (14 bytes) and the information header (40 bytes).
constexpr std::size_t kBmpHeaderBytes = 54;

// Largest pixel data and colour table we take; the texture itself is 512 x 256 x 3 bytes.
constexpr std::uint64_t kBmpMaxDataBytes = 64u * 1024u * 1024u;
constexpr std::uint64_t kBmpMaxColourEntries = kBmpMaxDataBytes / 4;

// The header fields the reader uses. Nothing else of the two headers is looked at: not the
// "BM" type, the file size, the pixel data offset (the data always follows the colour
// table), biSize, biPlanes, the resolution nor biClrImportant. biCompression is read only
// to refuse compressed data.
struct BmpHeader {
  std::int32_t width = 0;         // biWidth, offset 18
  std::int32_t height = 0;        // biHeight, offset 22; positive: bottom row first
  std::uint16_t bitCount = 0;     // biBitCount, offset 28
  std::uint32_t compression = 0;  // biCompression, offset 30
  std::uint32_t sizeImage = 0;    // biSizeImage, offset 34; 0: computed from the others
  std::uint32_t clrUsed = 0;      // biClrUsed, offset 46; 4-byte entries after the headers
};

BmpHeader ParseBmpHeader(const std::uint8_t (&bytes)[kBmpHeaderBytes]);

// Size of the pixel data: biSizeImage, or width x height x bitCount / 8 when that is 0
// (the product taken in 32 bits, as a bitmap writer of the time would have computed it).
std::uint32_t BmpPixelDataSize(const BmpHeader& header);

// True when the file carries no pixels at all: width x height is 0 and biSizeImage is 0.
bool BmpIsEmpty(const BmpHeader& header);

// Why a file is refused. Each value has its own message (BmpRefusalText).
enum class BmpRefusal {
  None,
  ShortHeader,        // the file ends inside its 54 header bytes
  ColourTableTooLarge,
  FewBits,            // fewer than 24 bits per pixel
  Compressed,         // biCompression is not 0
  NegativeWidth,
  TopDown,            // negative height
  TooLarge,           // pixel data beyond kBmpMaxDataBytes
  RowFill,            // width x 3 is not a multiple of 4: rows would carry fill bytes
  DataTooSmall,       // pixel data size below width x height x 3
};

const char* BmpRefusalText(BmpRefusal refusal);

// The checks made on a header before anything further is read. An empty file (BmpIsEmpty)
// is not refused here: it simply yields no buffer.
BmpRefusal CheckBmpHeader(const BmpHeader& header);

// Bytes that an upload of width x height RGB pixels (GL_UNSIGNED_BYTE, unpack alignment 4)
// reads from the buffer; 0 when a side is not positive.
std::uint64_t BmpUploadBytes(std::int32_t width, std::int32_t height);

// Exchanges byte 3p and 3p + 2 (blue and red) of pixels 0 to count - 1.
void SwapBlueRed(std::uint8_t* pixels, std::uint64_t count);

// Where the bytes come from; Read gives back how many it delivered (short at the end).
class BmpSource {
 public:
  virtual ~BmpSource() = default;
  virtual std::size_t Read(void* destination, std::size_t count) = 0;
};

struct BmpReadResult {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool hasPixels = false;             // false: no pixel buffer given back
  std::vector<std::uint8_t> pixels;   // RGB, bottom row first; zeros past a short read
  std::string message;                // shown under "BMP Unit" when not empty
};

// Reads header, colour table and pixel data, then exchanges blue and red. A short pixel
// section keeps the partly filled buffer (blue and red not exchanged) with the message
// "Error reading bitmap data".
BmpReadResult ReadBmp(BmpSource& source);

// The texts shown around a failed load.
std::string BmpOpeningErrorText(const std::string& path);   // "Error opening " + '"' + path
std::string BmpUnableToLoadText(const std::string& path);   // "Unable to load " + path

}  // namespace halvane
