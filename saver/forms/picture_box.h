// PictureBox: a child window that holds other controls, with a retained image of its own
// (drawn into, kept, and repainted by the window system) and the windowless elements of
// its owner drawn over that image.
//
// Implements: position and size in the parent's pixels, an optional sunken border, back
// colour, the retained image (answers WM_PAINT and WM_PRINTCLIENT), a paint hook for
// windowless elements, and mouse-button presses with button (1 left, 2 right, 4 middle)
// and position. Does not implement: scrolling, auto-size, keyboard input.
#pragma once

#include <windows.h>

#include <functional>

#include "forms/canvas.h"

namespace forms {

class PictureBox {
 public:
  PictureBox() = default;
  ~PictureBox();
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;

  // x, y, width, height: the outer rectangle in the parent's client pixels.
  bool Create(HWND parent, int x, int y, int width, int height, bool sunkenBorder,
              COLORREF backColour);
  HWND Handle() const { return hwnd_; }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }

  // The retained image: draw into it, then Refresh().
  HDC Canvas() const { return canvas_.Dc(); }
  void Refresh();

  // Drawn over the retained image at every paint (labels, pictures, shapes).
  std::function<void(HDC)> PaintOver;
  // A mouse button went down over the box (not over a child window of it).
  std::function<void(int button, int x, int y)> MouseDown;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void PaintTo(HDC dc);

  HWND hwnd_ = nullptr;
  COLORREF backColour_ = RGB(255, 255, 255);
  int clientWidth_ = 0, clientHeight_ = 0;
  RetainedImage canvas_;  // the client size at creation
};

}  // namespace forms
