// The host's bitmap reader on any bytes: it must refuse or decode without reading past the
// input, and whatever it decodes must write back to a file that decodes to the same image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/bitmap_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto image = halvane::DecodeBitmapFile(data, size);
  if (!image) return 0;
  const size_t expected = static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 3u;
  if (image->bgr.size() != expected) std::abort();
  const auto file = halvane::EncodeBitmapFile(*image);
  auto again = halvane::DecodeBitmapFile(file.data(), file.size());
  if (!again || again->bgr != image->bgr || again->width != image->width) std::abort();
  return 0;
}
