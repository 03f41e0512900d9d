// The host's bitmap writer and reader: the texture file must be byte for byte the form
// the renderer reads (54 header bytes, no colour table, bottom-up, 3 bytes a pixel).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/bitmap_file.h"

using halvane::BitmapImage;
using halvane::DecodeBitmapFile;
using halvane::EncodeBitmapFile;

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

BitmapImage Pattern(int32_t w, int32_t h) {
  BitmapImage img;
  img.width = w;
  img.height = h;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      img.bgr.push_back(static_cast<uint8_t>(x));
      img.bgr.push_back(static_cast<uint8_t>(y));
      img.bgr.push_back(static_cast<uint8_t>(x ^ y));
    }
  return img;
}

}  // namespace

TEST(HostBitmapFile, TextureHasTheRendererLayout) {
  const BitmapImage img = Pattern(512, 256);
  const std::vector<uint8_t> file = EncodeBitmapFile(img);
  ASSERT_EQ(file.size(), 54u + 393216u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), file.size());
  EXPECT_EQ(U32(file, 10), 54u);        // pixels right after the headers
  EXPECT_EQ(U32(file, 14), 40u);        // information header size
  EXPECT_EQ(U32(file, 18), 512u);
  EXPECT_EQ(U32(file, 22), 256u);       // positive: bottom-up
  EXPECT_EQ(U16(file, 26), 1u);
  EXPECT_EQ(U16(file, 28), 24u);
  EXPECT_EQ(U32(file, 30), 0u);         // uncompressed
  EXPECT_EQ(U32(file, 34), 393216u);
  EXPECT_EQ(U32(file, 46), 0u);         // no colour table
  // Our bottom row first, as given, with no bytes between rows.
  EXPECT_TRUE(std::equal(img.bgr.begin(), img.bgr.end(), file.begin() + 54));
}

TEST(HostBitmapFile, RoundTripsAndPadsRows) {
  // Widths whose rows need 0..3 fill bytes.
  for (int32_t w : {1, 2, 3, 4, 5, 152}) {
    const BitmapImage img = Pattern(w, 3);
    const std::vector<uint8_t> file = EncodeBitmapFile(img);
    ASSERT_EQ(file.size(), 54u + halvane::BitmapRowStride(w) * 3u) << w;
    auto back = DecodeBitmapFile(file.data(), file.size());
    ASSERT_TRUE(back) << w;
    EXPECT_EQ(back->width, w);
    EXPECT_EQ(back->height, 3);
    EXPECT_EQ(back->bgr, img.bgr) << w;
  }
}

TEST(HostBitmapFile, TopDownFileIsTurnedBottomUp) {
  const BitmapImage img = Pattern(4, 2);
  std::vector<uint8_t> file = EncodeBitmapFile(img);
  // Same pixels stored top row first, announced by a negative height.
  std::vector<uint8_t> flipped(file.begin(), file.begin() + 54);
  flipped.insert(flipped.end(), file.begin() + 54 + 12, file.end());
  flipped.insert(flipped.end(), file.begin() + 54, file.begin() + 54 + 12);
  const int32_t minus2 = -2;
  std::memcpy(flipped.data() + 22, &minus2, 4);
  auto back = DecodeBitmapFile(flipped.data(), flipped.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->bgr, img.bgr);
}

TEST(HostBitmapFile, RefusesWhatItCannotRead) {
  const std::vector<uint8_t> good = EncodeBitmapFile(Pattern(4, 4));
  struct Case {
    const char* what;
    size_t at;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"not BM", 0, {'X', 'M'}},
      {"32 bits", 28, {32, 0}},
      {"compressed", 30, {1, 0, 0, 0}},
      {"width 0", 18, {0, 0, 0, 0}},
      {"height 0", 22, {0, 0, 0, 0}},
      {"huge width", 18, {0xFF, 0xFF, 0xFF, 0x7F}},
      {"most negative height", 22, {0, 0, 0, 0x80}},
      {"pixels past the end", 10, {0xF0, 0, 0, 0}},
      {"pixel offset inside the header", 10, {20, 0, 0, 0}},
      {"info header past the end", 14, {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + c.at);
    EXPECT_FALSE(DecodeBitmapFile(bad.data(), bad.size())) << c.what;
  }
  EXPECT_FALSE(DecodeBitmapFile(good.data(), good.size() - 1)) << "cut short";
  EXPECT_FALSE(DecodeBitmapFile(good.data(), 53)) << "header cut";
  EXPECT_FALSE(DecodeBitmapFile(nullptr, 0));
}

TEST(HostBitmapFile, InconsistentImageGivesNoFile) {
  BitmapImage img = Pattern(4, 4);
  img.bgr.pop_back();
  EXPECT_TRUE(EncodeBitmapFile(img).empty());
  EXPECT_TRUE(EncodeBitmapFile(BitmapImage{}).empty());
}

TEST(HostBitmapFile, CarriedPicturesDecode) {
  // The pictures the host carries as resources: each must pass the host's reader.
  struct Asset {
    const char* name;
    int32_t w, h;
  };
  for (const Asset& a : {Asset{"moon.bmp", 512, 256}, Asset{"preview.bmp", 152, 112}}) {
    std::ifstream in(std::string(HALVANE_SOURCE_DIR) + "/assets/" + a.name, std::ios::binary);
    ASSERT_TRUE(in) << a.name;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto img = DecodeBitmapFile(bytes.data(), bytes.size());
    ASSERT_TRUE(img) << a.name;
    EXPECT_EQ(img->width, a.w);
    EXPECT_EQ(img->height, a.h);
    // Written back, the texture is the very layout the renderer reads.
    if (a.w == 512) {
      EXPECT_EQ(EncodeBitmapFile(*img).size(), 54u + 393216u);
    }
  }
}
