// The retained image of a window (a memory DC with a bitmap that the window's picture is
// drawn into and kept in, and that every paint copies to the screen), and the pieces every
// window class of ours repeats: answering the paint messages from such an image, and
// finding the object a window belongs to.
#pragma once

#include <windows.h>

#include <functional>

namespace forms {

class RetainedImage {
 public:
  RetainedImage() = default;
  ~RetainedImage() { Release(); }
  RetainedImage(const RetainedImage&) = delete;
  RetainedImage& operator=(const RetainedImage&) = delete;

  HDC Dc() const { return dc_; }  // null while there is no image
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Makes a new image of width x height pixels (at least 1 x 1) filled with the brush;
  // with keepContent the old picture is copied into its top-left corner. When the new
  // bitmap cannot be made, the old image (if any) stays as it was and false is returned.
  bool Resize(int width, int height, HBRUSH fill, bool keepContent);
  void Release();

  // Copies the image's top-left width x height pixels to dc at 0, 0. False, drawing
  // nothing, when there is no image.
  bool PaintTo(HDC dc, int width, int height) const;
  // The same, but where there is no image the rectangle is filled with the colour.
  void PaintTo(HDC dc, int width, int height, COLORREF background) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_ = 0, height_ = 0;
};

// Answers the paint messages of a window that paints all of its client area from a
// retained image: WM_ERASEBKGND (nothing to erase), WM_PAINT (between BeginPaint and
// EndPaint) and WM_PRINTCLIENT (into the DC it brings). paint draws the client area into
// the DC it is given; it is not called with a null DC. True, with result set, when msg is
// one of the three.
bool AnswerPaintMessage(HWND hwnd, UINT msg, WPARAM wParam,
                        const std::function<void(HDC)>& paint, LRESULT& result);

// The object a window belongs to, kept in the window's user data. At WM_NCCREATE it is
// taken from the creation parameter (the last argument of CreateWindowExA) and stored.
// Null before WM_NCCREATE and after ForgetWindowObject.
void* WindowObject(HWND hwnd, UINT msg, LPARAM lParam);
void ForgetWindowObject(HWND hwnd);

}  // namespace forms
