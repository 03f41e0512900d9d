// Form: one top-level (or child) window of the host with a retained image.
//
// Implements: caption, window style, client size, back colour, icon; loading without
// showing (hidden form), modeless and modal display, hiding; a retained image (a memory
// bitmap the size of the client area that WM_PAINT copies to the screen and that answers
// WM_PRINTCLIENT / WM_PRINT, so the window can be printed into a bitmap); timers (see
// timer.h); position and size in pixels or twips; unloading with a query step.
//
// Life of a form:
//   Load()      makes the window, not shown; timers that are enabled start; OnLoad runs.
//   Show()      shows it modelessly; ShowModal() shows it and pumps messages until the
//               form is unloaded or hidden.
//   Unload()    OnQueryUnload may refuse; then OnUnload runs and the window is destroyed.
//   WM_CLOSE    (the system or another program closes the window) unloads the same way.
//   WM_QUERYENDSESSION asks OnQueryUnload; WM_ENDSESSION then finishes the unload.
//   A window destroyed from outside (its parent went away) still runs OnUnload.
// When the last loaded form has gone, RunMessageLoop (app.h) returns.
//
// Texts are in the ANSI code page (the A entry points are used throughout). Does not
// implement: menus, MDI, keyboard navigation between controls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "forms/canvas.h"

namespace forms {

class Timer;

enum class UnloadMode {
  FromCode,       // Unload() called by the program
  SystemClose,    // WM_CLOSE: the window was closed from outside
  SessionEnding,  // WM_QUERYENDSESSION: log-off or shut-down
};

class Form {
 public:
  Form();
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // --- appearance (before or after Load) ---------------------------------------------
  void SetCaption(const std::string& ansiText);
  const std::string& Caption() const { return caption_; }
  // Window style and extended style. The default is a borderless pop-up window
  // (WS_POPUP | WS_CLIPCHILDREN, no extended style). WS_VISIBLE is ignored: Show() shows.
  void SetWindowStyle(DWORD style, DWORD exStyle);
  DWORD WindowStyle() const { return style_; }
  DWORD WindowExStyle() const { return exStyle_; }
  void SetBackColour(COLORREF colour);
  COLORREF BackColour() const { return backColour_; }
  void SetIcon(HICON icon);  // we don't own it

  // --- position and size -------------------------------------------------------------
  // Size of the client area in pixels.
  void SetClientSize(int width, int height);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  // The window's outer rectangle: screen pixels for a top-level window, pixels of the
  // parent's client area for a child.
  void Move(int left, int top, int width, int height);
  void MoveTwips(double left, double top, double width, double height);

  // --- life ----------------------------------------------------------------------------
  bool Load();  // false when the window could not be made
  bool IsLoaded() const { return hwnd_ != nullptr; }
  void Show();
  int ShowModal();  // returns ModalResult()
  void Hide();
  bool IsVisible() const;
  bool Unload(UnloadMode mode = UnloadMode::FromCode);  // false when refused
  HWND Handle() const { return hwnd_; }

  void SetModalResult(int result) { modalResult_ = result; }
  int ModalResult() const { return modalResult_; }

  // --- retained image ------------------------------------------------------------------
  // A memory DC holding the form's picture; draw into it and call Refresh(). It is the
  // size of the client area (at least 1 x 1), keeps its content when the form grows and
  // starts filled with the back colour. Valid while the form is loaded.
  HDC Canvas();
  void ClearCanvas();
  void Refresh();

 protected:
  // Events. OnQueryUnload returns false to keep the form loaded.
  virtual void OnLoad() {}
  virtual bool OnQueryUnload(UnloadMode /*mode*/) { return true; }
  virtual void OnUnload() {}
  // Any message, before the form's own handling. Return true (and set result) to take it.
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
    return false;
  }

 private:
  friend class Timer;
  UINT_PTR AddTimer(Timer* timer);
  void RemoveTimer(Timer* timer);

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void FinishUnload();  // OnUnload once, then the window goes
  void WindowGone();    // WM_DESTROY: timers and image released
  void EnsureCanvas(int width, int height);
  void PaintTo(HDC dc);

  HWND hwnd_ = nullptr;
  std::string caption_;
  DWORD style_ = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle_ = 0;
  COLORREF backColour_ = RGB(0, 0, 0);
  HICON icon_ = nullptr;  // we don't own it
  int left_ = 0, top_ = 0;
  int clientWidth_ = 0, clientHeight_ = 0;
  bool unloading_ = false;
  bool unloadRan_ = false;
  int modalResult_ = 0;

  RetainedImage canvas_;  // grows with the client area, never shrinks

  std::vector<Timer*> timers_;
  UINT_PTR nextTimerId_ = 1;
};

}  // namespace forms
