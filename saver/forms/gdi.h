// Thin owners for GDI objects and device contexts, so paint code cannot leak them.
#pragma once

#include <windows.h>

namespace forms {

// A memory DC compatible with the screen, with one bitmap selected while it lives.
class MemoryDC {
 public:
  explicit MemoryDC(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_ && bitmap) old_ = SelectObject(dc_, bitmap);
  }
  ~MemoryDC() {
    if (dc_) {
      if (old_) SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// A screen DC for the duration of a scope.
class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A solid brush deleted at the end of its scope.
class SolidBrush {
 public:
  explicit SolidBrush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
  ~SolidBrush() {
    if (brush_) DeleteObject(brush_);
  }
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;
  HBRUSH Get() const { return brush_; }

 private:
  HBRUSH brush_;
};

}  // namespace forms
