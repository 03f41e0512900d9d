#include "forms/picture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "forms/app.h"
#include "forms/gdi.h"

namespace forms {

Picture::~Picture() { Release(); }

void Picture::Release() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  image_ = halvane::BitmapImage();
}

bool Picture::LoadFromResource(int resourceId) {
  HINSTANCE instance = Instance();
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(instance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(instance, found);
  if (!bytes || size == 0) return false;
  return LoadFromBitmapFileBytes(static_cast<const uint8_t*>(bytes), size);
}

bool Picture::LoadFromBitmapFileBytes(const uint8_t* data, size_t size) {
  auto decoded = halvane::DecodeBitmapFile(data, size);
  if (!decoded) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = decoded->width;
  info.bmiHeader.biHeight = decoded->height;  // bottom-up, like our rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  const size_t row = static_cast<size_t>(decoded->width) * 3u;
  const size_t stride = halvane::BitmapRowStride(decoded->width);
  for (int32_t y = 0; y < decoded->height; ++y) {
    std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * stride,
                decoded->bgr.data() + static_cast<size_t>(y) * row, row);
  }
  GdiFlush();

  Release();
  image_ = std::move(*decoded);
  bitmap_ = bitmap;
  return true;
}

void Picture::Draw(HDC dc, int x, int y, int width, int height) const {
  if (!dc || !bitmap_) return;
  const int w = std::min(width, Width());
  const int h = std::min(height, Height());
  if (w <= 0 || h <= 0) return;
  MemoryDC source(bitmap_);
  BitBlt(dc, x, y, w, h, source.Get(), 0, 0, SRCCOPY);
}

void Picture::StretchDraw(HDC dc, int x, int y, int width, int height) const {
  if (!dc || !bitmap_ || width <= 0 || height <= 0) return;
  MemoryDC source(bitmap_);
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, x, y, width, height, source.Get(), 0, 0, Width(), Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

bool Picture::SaveAsBitmapFile(const std::string& ansiPath) const {
  const std::vector<uint8_t> bytes = halvane::EncodeBitmapFile(image_);
  if (bytes.empty()) return false;
  HANDLE file = CreateFileA(ansiPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const BOOL closed = CloseHandle(file);
  if (!ok || !closed || written != bytes.size()) {
    DeleteFileA(ansiPath.c_str());  // a short file would give the renderer a torn texture
    return false;
  }
  return true;
}

}  // namespace forms
