#include "selvora_r.h"

#include <windows.h>

#include <cmath>

#include "core/command_line.h"
#include "core/host_rules.h"
#include "forms/app.h"
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

// The preview: the preview form made a child of the window named on the command line,
// covering it from its top-left corner.
void StartPreview(const std::string& arguments) {
  // 1. The parent window. A handle that names no window would leave a form that nothing
  //    ever closes, so such a start ends at once.
  const int32_t parentHandle = PreviewParentHandle(arguments);
  HWND parent = reinterpret_cast<HWND>(static_cast<LONG_PTR>(parentHandle));
  if (parentHandle == 0 || !IsWindow(parent)) forms::EndProgram();

  // 2-5. Its size in twips; an axis that does not fit in 16 bits keeps 0.
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(parent, &rect);
  const int16_t x = 0;
  const int16_t y = 0;
  const float twipsX = forms::TwipsPerPixelX();
  const float twipsY = forms::TwipsPerPixelY();
  int16_t width = 0;
  int16_t height = 0;
  if (auto w = halvane::PreviewSideTwips(twipsX, rect.left, rect.right)) width = *w;
  if (auto h = halvane::PreviewSideTwips(twipsY, rect.top, rect.bottom)) height = *h;

  // 6-9. Loaded, not shown; made a child, then given its parent.
  SelvoraR& form = Selvora_R();
  if (!form.Load()) forms::EndProgram();
  const LONG style = GetWindowLongA(form.Handle(), GWL_STYLE);
  SetWindowLongA(form.Handle(), GWL_STYLE, style | WS_CHILD);
  SetParent(form.Handle(), parent);

  // 10, 11. Placed at the parent's corner, then the picture element over the whole form.
  form.MoveTwips(x, y, width, height);
  form.PlaceImage(0.0f, 0.0f, static_cast<float>(width) / twipsX,
                  static_cast<float>(height) / twipsY);

  // 12. Shown, already in place.
  form.Show();
}
