#include "selvora_r.h"

#include <windows.h>

#include <cmath>

#include "resources/resource.h"

namespace {

int Pixels(float v) {
  if (!(v > -1.0e9f && v < 1.0e9f)) return 0;
  return static_cast<int>(std::floor(v + 0.5f));
}

}  // namespace

SelvoraR& Selvora_R() {
  static SelvoraR form;
  return form;
}

SelvoraR::SelvoraR() {
  SetCaption("Preview Window");
  // No border, no control box, no task bar button; black behind the picture.
  SetWindowStyle(WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_TOOLWINDOW);
  SetBackColour(RGB(0, 0, 0));
  picture_.LoadFromResource(IDR_PREVIEW);
  imageWidth_ = static_cast<float>(picture_.Width());
  imageHeight_ = static_cast<float>(picture_.Height());
}

void SelvoraR::PlaceImage(float left, float top, float width, float height) {
  imageLeft_ = left;
  imageTop_ = top;
  imageWidth_ = width;
  imageHeight_ = height;
  DrawImage();
}

void SelvoraR::OnLoad() { DrawImage(); }

void SelvoraR::DrawImage() {
  if (!IsLoaded()) return;
  ClearCanvas();
  picture_.Draw(Canvas(), Pixels(imageLeft_), Pixels(imageTop_), Pixels(imageWidth_),
                Pixels(imageHeight_));
  Refresh();
}

void SelvoraR::OnUnload() {
  // Whatever unloads the form (its parent going away included): close our own window.
  PostMessageA(Handle(), WM_CLOSE, 0, 0);
}
