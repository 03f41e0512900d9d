// Fuzzes the renderer's bitmap reader: any bytes, read in pieces of any size, must give a
// result whose buffer covers everything the blue/red exchange and the GL upload would touch.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "bmp_format.h"

namespace {

class FuzzSource : public halvane::BmpSource {
 public:
  FuzzSource(const std::uint8_t* data, std::size_t size, std::size_t chunk)
      : data_(data), size_(size), chunk_(chunk) {}
  std::size_t Read(void* destination, std::size_t count) override {
    std::size_t n = count < chunk_ ? count : chunk_;
    if (n > size_ - pos_) n = size_ - pos_;
    if (n != 0) std::memcpy(destination, data_ + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_, chunk_, pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks how the source hands out its bytes.
  std::size_t chunk = SIZE_MAX;
  if (size > 0) {
    chunk = data[0] == 0 ? SIZE_MAX : data[0];
    ++data;
    --size;
  }
  FuzzSource source(data, size, chunk);
  const halvane::BmpReadResult r = halvane::ReadBmp(source);
  if (r.hasPixels) {
    if (r.pixels.empty()) std::abort();
    if (halvane::BmpUploadBytes(r.width, r.height) > r.pixels.size()) std::abort();
    // Touch what the upload reads, so that a short buffer shows up under ASan too.
    const std::uint64_t upload = halvane::BmpUploadBytes(r.width, r.height);
    volatile std::uint8_t sink = 0;
    for (std::uint64_t i = 0; i < upload; i += 97) sink = sink + r.pixels[i];
    if (upload > 0) sink = sink + r.pixels[upload - 1];
    (void)sink;
  } else if (!r.pixels.empty()) {
    std::abort();
  }
  return 0;
}
