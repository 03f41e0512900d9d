#include "forms/canvas.h"

#include <algorithm>

#include "forms/gdi.h"

namespace forms {

bool RetainedImage::Resize(int width, int height, HBRUSH fill, bool keepContent) {
  width = std::max(1, width);
  height = std::max(1, height);
  ScreenDC screen;
  HDC dc = CreateCompatibleDC(screen.Get());
  HBITMAP bitmap = dc ? CreateCompatibleBitmap(screen.Get(), width, height) : nullptr;
  if (!bitmap) {
    if (dc) DeleteDC(dc);
    return false;  // keep the old image, if any
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, fill);
  if (keepContent && dc_) BitBlt(dc, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
  Release();
  dc_ = dc;
  bitmap_ = bitmap;
  old_ = old;
  width_ = width;
  height_ = height;
  return true;
}

void RetainedImage::Release() {
  if (dc_) {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  old_ = nullptr;
  width_ = height_ = 0;
}

bool RetainedImage::PaintTo(HDC dc, int width, int height) const {
  if (!dc_) return false;
  BitBlt(dc, 0, 0, width, height, dc_, 0, 0, SRCCOPY);
  return true;
}

void RetainedImage::PaintTo(HDC dc, int width, int height, COLORREF background) const {
  if (PaintTo(dc, width, height)) return;
  RECT r = {0, 0, width, height};
  SolidBrush brush(background);
  FillRect(dc, &r, brush.Get());
}

bool AnswerPaintMessage(HWND hwnd, UINT msg, WPARAM wParam,
                        const std::function<void(HDC)>& paint, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;  // WM_PAINT covers the whole client area
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) paint(dc);
      EndPaint(hwnd, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (dc) paint(dc);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void* WindowObject(HWND hwnd, UINT msg, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    void* object = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  }
  return reinterpret_cast<void*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void ForgetWindowObject(HWND hwnd) { SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0); }

}  // namespace forms
