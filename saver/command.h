// Command: the host's skinned push button, a child window of class "Selvora.Command".
// Its face (gradient and a border ring cut from one of six state pictures) is kept in a
// memory bitmap and repainted from it; the caption is drawn over the face. The decisions
// (modes, pictures, Click) are made by halvane::CommandLogic in core/command_logic.h.
//
// Implements: Caption, Enabled, Font, FontColour, Visible, Initialize, Click; the 100 ms
// hover tick; the property store text (see ParseCommandProperties). The window captures the
// mouse on a press of any button and lets it go when the last button is up, so a release
// outside the button still reaches it. The left button also takes the focus, as a
// standard push button does. The window's own enabled state follows Enabled. Does not
// implement: keyboard handling of any kind (Enter and Space raise nothing).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/command_logic.h"
#include "forms/canvas.h"

class Command {
 public:
  Command() = default;
  ~Command();
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // Makes the window at x, y (pixels of the parent's client area), width x height pixels,
  // loaded from its property store text (UTF-8). ambientFont stands in when the store has
  // no "Font". False when the window could not be made.
  bool Create(HWND parent, int x, int y, int width, int height, std::string_view storeText,
              const halvane::CommandFont& ambientFont);
  HWND Handle() const { return hwnd_; }

  // Public properties. Texts are ANSI bytes.
  std::string Caption() const;
  void SetCaption(const std::string& ansiText);
  bool Enabled();
  void SetEnabled(bool value);
  halvane::CommandFont Font() const;
  void SetFont(const halvane::CommandFont& font);  // name in UTF-8, as in the store
  uint32_t FontColour();
  void SetFontColour(uint32_t colour);
  uint8_t Visible();
  void SetVisible(uint8_t value);

  // Starts hover tracking (ModeNormal and the 100 ms tick); draws nothing.
  void Initialize();
  // The property store text of this button (UTF-8).
  std::string SaveProperties();

  // Raised on the release of a mouse button (see CommandLogic::ButtonReleased). The
  // handler may close the holding form; the button touches nothing after raising it.
  std::function<void()> Click;

  const halvane::CommandLogic& Logic() const { return logic_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void Apply(halvane::CommandOutput output);  // draws, starts the timer, raises Click
  void RenderFace(const halvane::FaceDrawing& drawing);
  void FillGradient(HDC dc, bool inverted);
  void EnsureFace();
  void MakeFont();
  void PaintTo(HDC dc);
  void OnButtonDown(int button);
  void OnButtonUp(int button, WPARAM keys);
  void OnHoverTick();

  HWND hwnd_ = nullptr;
  halvane::CommandLogic logic_;
  halvane::CommandFont ambientFont_;
  HFONT font_ = nullptr;  // the caption font, ours
  forms::RetainedImage face_;  // the retained face, the size of the client area
  bool loaded_ = false;     // stored properties applied
  RECT captionRect_ = {};  // where the caption label sits, in pixels
};
