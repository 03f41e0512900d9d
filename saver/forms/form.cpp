#include "forms/form.h"

#include <algorithm>

#include "forms/app.h"
#include "forms/gdi.h"
#include "forms/timer.h"

namespace forms {
namespace {

const char kFormClass[] = "HalvaneForm";

bool RegisterFormClass(WNDPROC windowProc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;  // the retained image paints everything
  wc.lpszClassName = kFormClass;
  registered = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

// The form being made by CreateWindowExA, picked up by the first message of the window.
thread_local Form* t_formBeingMade = nullptr;

// The windows that a modal form disabled, to enable them again when it closes.
struct ModalDisabled {
  std::vector<HWND> windows;
  HWND self = nullptr;
};

BOOL CALLBACK DisableForModal(HWND w, LPARAM p) {
  auto* d = reinterpret_cast<ModalDisabled*>(p);
  if (w != d->self && IsWindowVisible(w) && IsWindowEnabled(w)) {
    EnableWindow(w, FALSE);
    d->windows.push_back(w);
  }
  return TRUE;
}

}  // namespace

Form::Form() = default;

Form::~Form() {
  if (hwnd_) {
    unloading_ = true;
    unloadRan_ = true;  // no events from a form that is being destroyed
    DestroyWindow(hwnd_);
  }
}

void Form::SetCaption(const std::string& ansiText) {
  caption_ = ansiText;
  if (hwnd_) SetWindowTextA(hwnd_, caption_.c_str());
}

void Form::SetWindowStyle(DWORD style, DWORD exStyle) {
  style_ = style & ~static_cast<DWORD>(WS_VISIBLE);
  exStyle_ = exStyle;
}

void Form::SetBackColour(COLORREF colour) { backColour_ = colour; }

void Form::SetIcon(HICON icon) {
  icon_ = icon;
  if (hwnd_ && icon_) {
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
}

void Form::SetClientSize(int width, int height) {
  clientWidth_ = std::max(0, width);
  clientHeight_ = std::max(0, height);
  if (!hwnd_) return;
  RECT r = {0, 0, clientWidth_, clientHeight_};
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Move(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  if (!hwnd_) {
    RECT r = {0, 0, 0, 0};
    AdjustWindowRectEx(&r, style_, FALSE, exStyle_);
    clientWidth_ = std::max(0, width - static_cast<int>(r.right - r.left));
    clientHeight_ = std::max(0, height - static_cast<int>(r.bottom - r.top));
    return;
  }
  MoveWindow(hwnd_, left, top, std::max(0, width), std::max(0, height), TRUE);
}

void Form::MoveTwips(double left, double top, double width, double height) {
  Move(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}

bool Form::Load() {
  if (hwnd_) return true;
  if (!RegisterFormClass(&Form::WindowProc)) return false;
  RECT r = {0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&r, style_, FALSE, exStyle_);
  unloading_ = false;
  unloadRan_ = false;
  t_formBeingMade = this;
  HWND parent = nullptr;
  HWND made = CreateWindowExA(exStyle_, kFormClass, caption_.c_str(), style_, left_, top_,
                              r.right - r.left, r.bottom - r.top, parent, nullptr, Instance(),
                              nullptr);
  t_formBeingMade = nullptr;
  if (!made) {
    hwnd_ = nullptr;
    return false;
  }
  if (icon_) SetIcon(icon_);
  EnsureCanvas(clientWidth_, clientHeight_);
  for (Timer* t : timers_) t->Arm();
  OnLoad();
  return hwnd_ != nullptr;
}

void Form::Show() {
  if (!hwnd_ && !Load()) return;
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

int Form::ShowModal() {
  if (!hwnd_ && !Load()) return modalResult_;
  if (!hwnd_) return modalResult_;

  // Other windows of this thread take no input while the modal form is up.
  ModalDisabled disabled;
  disabled.self = hwnd_;
  EnumThreadWindows(GetCurrentThreadId(), DisableForModal, reinterpret_cast<LPARAM>(&disabled));

  Show();
  MSG msg;
  while (hwnd_ && IsWindowVisible(hwnd_)) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the outer loop
      break;
    }
    if (got == -1) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  for (HWND w : disabled.windows) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  return modalResult_;
}

void Form::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool Form::IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

bool Form::Unload(UnloadMode mode) {
  if (!hwnd_) return true;
  if (unloading_) return true;
  if (!OnQueryUnload(mode)) return false;
  FinishUnload();
  return true;
}

void Form::FinishUnload() {
  unloading_ = true;
  if (!unloadRan_) {
    unloadRan_ = true;
    OnUnload();
  }
  if (hwnd_) DestroyWindow(hwnd_);
}

HDC Form::Canvas() {
  if (!canvas_.Dc()) EnsureCanvas(clientWidth_, clientHeight_);
  return canvas_.Dc();
}

void Form::ClearCanvas() {
  HDC dc = Canvas();
  if (!dc) return;
  RECT r = {0, 0, canvas_.Width(), canvas_.Height()};
  SolidBrush brush(backColour_);
  FillRect(dc, &r, brush.Get());
}

void Form::Refresh() {
  if (hwnd_) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
  }
}

void Form::EnsureCanvas(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (canvas_.Dc() && width <= canvas_.Width() && height <= canvas_.Height()) return;
  SolidBrush brush(backColour_);
  canvas_.Resize(std::max(width, canvas_.Width()), std::max(height, canvas_.Height()),
                 brush.Get(), true);
}

void Form::PaintTo(HDC dc) {
  Canvas();  // made now if it could not be made before
  canvas_.PaintTo(dc, clientWidth_, clientHeight_, backColour_);
}

UINT_PTR Form::AddTimer(Timer* timer) {
  timers_.push_back(timer);
  return nextTimerId_++;
}

void Form::RemoveTimer(Timer* timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

void Form::WindowGone() {
  for (Timer* t : timers_) t->Disarm();
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Form* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!form && t_formBeingMade) {
    form = t_formBeingMade;
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    NoteFormLoaded();
  }
  if (!form) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return form->HandleMessage(msg, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) {
    clientWidth_ = LOWORD(lParam);
    clientHeight_ = HIWORD(lParam);
    EnsureCanvas(clientWidth_, clientHeight_);
  }
  LRESULT result = 0;
  if (msg != WM_NCDESTROY && OnMessage(msg, wParam, lParam, result)) return result;
  if (AnswerPaintMessage(hwnd_, msg, wParam, [this](HDC dc) { PaintTo(dc); }, result)) {
    return result;
  }

  switch (msg) {
    case WM_TIMER:
      for (Timer* t : timers_) {
        if (t->Id() == wParam) {
          t->Tick();
          return 0;
        }
      }
      break;
    case WM_CLOSE:
      Unload(UnloadMode::SystemClose);
      return 0;
    case WM_QUERYENDSESSION:
      if (!hwnd_ || unloading_) return TRUE;
      return OnQueryUnload(UnloadMode::SessionEnding) ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wParam && hwnd_ && !unloading_) FinishUnload();
      return 0;
    case WM_DESTROY:
      unloading_ = true;
      if (!unloadRan_) {
        unloadRan_ = true;
        OnUnload();  // the window went away from outside, with its parent
      }
      WindowGone();
      return 0;
    case WM_NCDESTROY: {
      HWND gone = hwnd_;
      SetWindowLongPtrA(gone, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      canvas_.Release();
      NoteFormGone();
      return DefWindowProcA(gone, msg, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

}  // namespace forms
