#include "forms/picture_box.h"

#include "forms/app.h"
#include "forms/gdi.h"

namespace forms {
namespace {

const char kPictureBoxClass[] = "HalvanePictureBox";

bool RegisterPictureBoxClass(WNDPROC windowProc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kPictureBoxClass;
  registered = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

}  // namespace

PictureBox::~PictureBox() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool PictureBox::Create(HWND parent, int x, int y, int width, int height, bool sunkenBorder,
                        COLORREF backColour) {
  if (hwnd_ || !RegisterPictureBoxClass(&PictureBox::WindowProc)) return false;
  backColour_ = backColour;
  HWND made = CreateWindowExA(sunkenBorder ? WS_EX_CLIENTEDGE : 0, kPictureBoxClass, "",
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y,
                              width, height, parent, nullptr, Instance(), this);
  if (!made) return false;
  RECT r;
  GetClientRect(made, &r);
  clientWidth_ = r.right;
  clientHeight_ = r.bottom;
  canvas_.Release();
  SolidBrush brush(backColour_);
  canvas_.Resize(clientWidth_, clientHeight_, brush.Get(), false);
  return true;
}

void PictureBox::Refresh() {
  if (hwnd_) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
  }
}

void PictureBox::PaintTo(HDC dc) {
  canvas_.PaintTo(dc, clientWidth_, clientHeight_, backColour_);
  if (PaintOver) PaintOver(dc);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<PictureBox*>(WindowObject(hwnd, msg, lParam));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  LRESULT result = 0;
  if (AnswerPaintMessage(hwnd, msg, wParam, [this](HDC dc) { PaintTo(dc); }, result)) {
    return result;
  }
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
      const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
      const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      if (MouseDown) MouseDown(button, x, y);
      return 0;
    }
    case WM_NCDESTROY:
      ForgetWindowObject(hwnd);
      hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace forms
