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
  ReleaseCanvas();
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
  MakeCanvas();
  return true;
}

void PictureBox::Refresh() {
  if (hwnd_) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
  }
}

void PictureBox::MakeCanvas() {
  ReleaseCanvas();
  const int w = clientWidth_ > 0 ? clientWidth_ : 1, h = clientHeight_ > 0 ? clientHeight_ : 1;
  ScreenDC screen;
  HDC dc = CreateCompatibleDC(screen.Get());
  HBITMAP bitmap = dc ? CreateCompatibleBitmap(screen.Get(), w, h) : nullptr;
  if (!bitmap) {
    if (dc) DeleteDC(dc);
    return;
  }
  canvasOld_ = SelectObject(dc, bitmap);
  canvasDc_ = dc;
  canvasBitmap_ = bitmap;
  RECT all = {0, 0, w, h};
  SolidBrush brush(backColour_);
  FillRect(dc, &all, brush.Get());
}

void PictureBox::ReleaseCanvas() {
  if (canvasDc_) {
    SelectObject(canvasDc_, canvasOld_);
    DeleteDC(canvasDc_);
  }
  if (canvasBitmap_) DeleteObject(canvasBitmap_);
  canvasDc_ = nullptr;
  canvasBitmap_ = nullptr;
  canvasOld_ = nullptr;
}

void PictureBox::PaintTo(HDC dc) {
  if (!dc) return;
  if (canvasDc_) {
    BitBlt(dc, 0, 0, clientWidth_, clientHeight_, canvasDc_, 0, 0, SRCCOPY);
  } else {
    RECT r = {0, 0, clientWidth_, clientHeight_};
    SolidBrush brush(backColour_);
    FillRect(dc, &r, brush.Get());
  }
  if (PaintOver) PaintOver(dc);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<PictureBox*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintTo(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
      const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
      const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      if (MouseDown) MouseDown(button, x, y);
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace forms
