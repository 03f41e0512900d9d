// The renderer's bitmap reader: which header fields count, the computed data size, the
// blue/red exchange, short files, and the refusal of every form it could not upload safely.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_format.h"

using namespace halvane;

namespace {

// Bytes handed out at most `chunk` at a time, like a file read in pieces.
class MemorySource : public BmpSource {
 public:
  explicit MemorySource(std::vector<std::uint8_t> bytes, std::size_t chunk = SIZE_MAX)
      : bytes_(std::move(bytes)), chunk_(chunk) {}
  std::size_t Read(void* destination, std::size_t count) override {
    const std::size_t n = std::min({count, chunk_, bytes_.size() - pos_});
    if (n != 0) std::memcpy(destination, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t chunk_;
  std::size_t pos_ = 0;
};

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = v & 0xFF; b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = (v >> (8 * k)) & 0xFF;
}

// A bitmap file: headers, clrUsed table entries, then `data` as the pixel section.
struct BmpFile {
  std::int32_t width = 4, height = 2;
  std::uint32_t bitCount = 24, compression = 0, sizeImage = 0, clrUsed = 0;
  std::vector<std::uint8_t> data;

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> b(54, 0);
    b[0] = 'B'; b[1] = 'M';
    Put32(b, 10, 54 + 4 * clrUsed);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bitCount);
    Put32(b, 30, compression);
    Put32(b, 34, sizeImage);
    Put32(b, 46, clrUsed);
    b.resize(54 + 4 * static_cast<std::size_t>(clrUsed), 0xEE);
    b.insert(b.end(), data.begin(), data.end());
    return b;
  }
};

// width x height pixels of 3 bytes, pixel p holding (p, 100 + p, 200 + p) as B, G, R.
std::vector<std::uint8_t> NumberedPixels(int count) {
  std::vector<std::uint8_t> d;
  for (int p = 0; p < count; ++p) {
    d.push_back(static_cast<std::uint8_t>(p));
    d.push_back(static_cast<std::uint8_t>(100 + p));
    d.push_back(static_cast<std::uint8_t>(200 + p));
  }
  return d;
}

BmpReadResult Read(const std::vector<std::uint8_t>& bytes, std::size_t chunk = SIZE_MAX) {
  MemorySource source(bytes, chunk);
  return ReadBmp(source);
}

void ExpectRgbNumbered(const BmpReadResult& r, int count) {
  ASSERT_TRUE(r.hasPixels);
  ASSERT_GE(r.pixels.size(), static_cast<std::size_t>(3 * count));
  for (int p = 0; p < count; ++p) {
    EXPECT_EQ(r.pixels[3 * p], 200 + p) << "red of pixel " << p;
    EXPECT_EQ(r.pixels[3 * p + 1], 100 + p) << "green of pixel " << p;
    EXPECT_EQ(r.pixels[3 * p + 2], p) << "blue of pixel " << p;
  }
}

}  // namespace

TEST(RendererBmp, ReadsPixelsAsRgbBottomRowFirst) {
  BmpFile f;
  f.data = NumberedPixels(8);
  f.sizeImage = 24;
  const BmpReadResult r = Read(f.Bytes());
  EXPECT_EQ(r.message, "");
  EXPECT_EQ(r.width, 4);
  EXPECT_EQ(r.height, 2);
  EXPECT_EQ(r.pixels.size(), 24u);
  ExpectRgbNumbered(r, 8);
}

TEST(RendererBmp, IgnoresTypeOffsetAndOtherUnusedFields) {
  BmpFile f;
  f.data = NumberedPixels(8);
  std::vector<std::uint8_t> bytes = f.Bytes();
  bytes[0] = 'X'; bytes[1] = 'Y';            // type
  Put32(bytes, 2, 0xDEADBEEF);               // file size
  Put32(bytes, 10, 9999);                    // pixel data offset: the data follows the table anyway
  Put32(bytes, 14, 12);                      // biSize
  Put16(bytes, 26, 7);                       // biPlanes
  Put32(bytes, 50, 0xFFFFFFFF);              // biClrImportant
  const BmpReadResult r = Read(bytes);
  EXPECT_EQ(r.message, "");
  ExpectRgbNumbered(r, 8);
}

TEST(RendererBmp, ComputesDataSizeWhenSizeImageIsZero) {
  BmpHeader h;
  h.width = 512; h.height = 256; h.bitCount = 24;
  EXPECT_EQ(BmpPixelDataSize(h), 393216u);
  h.sizeImage = 1000;
  EXPECT_EQ(BmpPixelDataSize(h), 1000u);

  BmpFile f;
  f.width = 512; f.height = 256;
  f.data.assign(393216, 7);
  const BmpReadResult r = Read(f.Bytes(), 4096);  // also read in pieces
  EXPECT_EQ(r.message, "");
  EXPECT_EQ(r.pixels.size(), 393216u);
}

TEST(RendererBmp, SkipsTheColourTable) {
  BmpFile f;
  f.clrUsed = 3;
  f.data = NumberedPixels(8);
  const BmpReadResult r = Read(f.Bytes());
  EXPECT_EQ(r.message, "");
  ExpectRgbNumbered(r, 8);
}

TEST(RendererBmp, ShortColourTableGivesNoBuffer) {
  BmpFile f;
  f.clrUsed = 3;
  std::vector<std::uint8_t> bytes = f.Bytes();
  bytes.resize(54 + 11);
  const BmpReadResult r = Read(bytes);
  EXPECT_EQ(r.message, "Error reading palette");
  EXPECT_FALSE(r.hasPixels);
}

TEST(RendererBmp, ShortPixelDataKeepsZeroFilledBufferUnswapped) {
  BmpFile f;
  f.data = NumberedPixels(8);
  f.data.resize(10);  // 3 whole pixels and one byte
  const BmpReadResult r = Read(f.Bytes());
  EXPECT_EQ(r.message, "Error reading bitmap data");
  ASSERT_TRUE(r.hasPixels);
  ASSERT_EQ(r.pixels.size(), 24u);
  EXPECT_EQ(r.pixels[0], 0);     // blue still first: no exchange
  EXPECT_EQ(r.pixels[2], 200);
  EXPECT_EQ(r.pixels[9], 3);
  for (std::size_t i = 10; i < r.pixels.size(); ++i) EXPECT_EQ(r.pixels[i], 0) << i;
}

TEST(RendererBmp, EmptyImageGivesNoBufferAndNoMessage) {
  // Even with header fields that a non-empty file would be refused for.
  for (std::int32_t w : {0, 5, -3}) {
    BmpFile f;
    f.width = w; f.height = 0; f.bitCount = 0; f.compression = 1;
    const BmpReadResult r = Read(f.Bytes());
    EXPECT_EQ(r.message, "") << w;
    EXPECT_FALSE(r.hasPixels) << w;
  }
}

TEST(RendererBmp, ThirtyTwoBitFileLoadsScrambled) {
  BmpFile f;
  f.bitCount = 32;
  f.data = NumberedPixels(8);
  f.data.resize(32, 0);
  const BmpReadResult r = Read(f.Bytes());
  EXPECT_EQ(r.message, "");
  ASSERT_EQ(r.pixels.size(), 32u);
  ExpectRgbNumbered(r, 8);  // the first 24 bytes, taken as 3-byte pixels
  EXPECT_EQ(r.pixels[24], 0);
}

struct RefusalCase {
  const char* name;
  std::int32_t width, height;
  std::uint32_t bitCount, compression, sizeImage, clrUsed;
  BmpRefusal refusal;
};

TEST(RendererBmp, RefusesFormsItCannotUploadSafely) {
  const RefusalCase cases[] = {
      {"16 bits", 4, 2, 16, 0, 0, 0, BmpRefusal::FewBits},
      {"8 bits with size", 4, 2, 8, 0, 24, 0, BmpRefusal::FewBits},
      {"no bit count", 4, 2, 0, 0, 24, 0, BmpRefusal::FewBits},
      {"run-length", 4, 2, 24, 1, 24, 0, BmpRefusal::Compressed},
      {"bit fields", 4, 2, 32, 3, 32, 0, BmpRefusal::Compressed},
      {"negative width", -4, 2, 24, 0, 24, 0, BmpRefusal::NegativeWidth},
      {"top-down", 4, -2, 24, 0, 0, 0, BmpRefusal::TopDown},
      {"row fill", 3, 2, 24, 0, 0, 0, BmpRefusal::RowFill},
      {"row fill, 1 wide", 1, 1, 24, 0, 4, 0, BmpRefusal::RowFill},
      {"size below w*h*3", 4, 2, 24, 0, 23, 0, BmpRefusal::DataTooSmall},
      {"computed size wraps to small", 65536, 65536, 24, 0, 0, 0, BmpRefusal::TooLarge},
      {"width*height*3 over 32 bits", 0x40000000, 4, 24, 0, 12, 0, BmpRefusal::TooLarge},
      {"huge biSizeImage", 4, 2, 24, 0, 0xFFFFFFFF, 0, BmpRefusal::TooLarge},
      {"huge colour table", 4, 2, 24, 0, 0, 0x40000001, BmpRefusal::ColourTableTooLarge},
      {"huge table, empty image", 0, 0, 24, 0, 0, 0xFFFFFFFF, BmpRefusal::ColourTableTooLarge},
  };
  for (const RefusalCase& c : cases) {
    BmpFile f;
    f.width = c.width; f.height = c.height; f.bitCount = c.bitCount;
    f.compression = c.compression; f.sizeImage = c.sizeImage; f.clrUsed = 0;
    std::vector<std::uint8_t> bytes = f.Bytes();
    Put32(bytes, 46, c.clrUsed);
    bytes.resize(bytes.size() + 64, 0);
    const BmpReadResult r = Read(bytes);
    EXPECT_EQ(r.message, BmpRefusalText(c.refusal)) << c.name;
    EXPECT_FALSE(r.hasPixels) << c.name;
  }
}

TEST(RendererBmp, FileShorterThanHeaderIsRefused) {
  BmpFile f;
  f.data = NumberedPixels(8);
  for (std::size_t length : {0u, 1u, 14u, 53u}) {
    std::vector<std::uint8_t> bytes = f.Bytes();
    bytes.resize(length);
    const BmpReadResult r = Read(bytes);
    EXPECT_EQ(r.message, BmpRefusalText(BmpRefusal::ShortHeader)) << length;
    EXPECT_FALSE(r.hasPixels);
  }
}

TEST(RendererBmp, RefusalTextsAreDistinct) {
  std::vector<std::string> texts;
  for (BmpRefusal r : {BmpRefusal::ShortHeader, BmpRefusal::ColourTableTooLarge, BmpRefusal::FewBits,
                       BmpRefusal::Compressed, BmpRefusal::NegativeWidth, BmpRefusal::TopDown,
                       BmpRefusal::TooLarge, BmpRefusal::RowFill, BmpRefusal::DataTooSmall}) {
    texts.push_back(BmpRefusalText(r));
    EXPECT_FALSE(texts.back().empty());
  }
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(std::unique(texts.begin(), texts.end()), texts.end());
}

TEST(RendererBmp, UploadBytesFollowFourByteRows) {
  EXPECT_EQ(BmpUploadBytes(512, 256), 393216u);
  EXPECT_EQ(BmpUploadBytes(3, 2), 12u + 9u);  // a padded row, then the last row unpadded
  EXPECT_EQ(BmpUploadBytes(0, 5), 0u);
  EXPECT_EQ(BmpUploadBytes(5, -1), 0u);
}

TEST(RendererBmp, MessageTexts) {
  EXPECT_EQ(BmpOpeningErrorText("C:\\x\\Halvane.bmp"), "Error opening \"C:\\x\\Halvane.bmp");
  EXPECT_EQ(BmpUnableToLoadText("C:\\x\\Halvane.bmp"), "Unable to load C:\\x\\Halvane.bmp");
}
