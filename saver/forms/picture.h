// Picture: a stored picture of the program (24-bit, from a bitmap file carried as an
// RCDATA resource), ready to draw with GDI and to save as a bitmap file.
//
// Implements: loading from a resource or from bitmap file bytes, drawing at its own size
// (clipped, never scaled), saving as a 24-bit bottom-up bitmap file. Does not implement:
// JPEG or other formats, palettes, transparency.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/bitmap_file.h"

namespace forms {

class Picture {
 public:
  Picture() = default;
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // An RCDATA resource of the program holding a bitmap file.
  bool LoadFromResource(int resourceId);
  bool LoadFromBitmapFileBytes(const uint8_t* data, size_t size);

  bool Empty() const { return bitmap_ == nullptr; }
  int Width() const { return image_.width; }
  int Height() const { return image_.height; }
  const halvane::BitmapImage& Image() const { return image_; }
  HBITMAP Bitmap() const { return bitmap_; }  // we own it

  // Draws the picture's top-left part, at most width x height pixels of it, at x, y.
  void Draw(HDC dc, int x, int y, int width, int height) const;
  void Draw(HDC dc, int x, int y) const { Draw(dc, x, y, Width(), Height()); }
  // Draws the whole picture scaled into the rectangle.
  void StretchDraw(HDC dc, int x, int y, int width, int height) const;

  // Writes the picture as a 24-bit bottom-up bitmap file, replacing a file of that name.
  // A file that could not be written completely is removed again. False on any failure.
  bool SaveAsBitmapFile(const std::string& ansiPath) const;

 private:
  void Release();

  halvane::BitmapImage image_;
  HBITMAP bitmap_ = nullptr;
};

}  // namespace forms
