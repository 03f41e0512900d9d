// Form Selvora_R: the preview form. A still picture that the start-up procedure makes a
// child of the display settings' preview window; it goes away with that window.
#pragma once

#include <string>

#include "forms/form.h"
#include "forms/picture.h"

class SelvoraR : public forms::Form {
 public:
  SelvoraR();

  // Img_Prev: the preview picture, drawn at its own size inside the element's rectangle
  // (form pixels); the element never scales it.
  void PlaceImage(float left, float top, float width, float height);

 protected:
  void OnLoad() override;
  void OnUnload() override;

 private:
  void DrawImage();

  forms::Picture picture_;
  float imageLeft_ = 0, imageTop_ = 0, imageWidth_ = 0, imageHeight_ = 0;
};

// The program's one preview form.
SelvoraR& Selvora_R();

// The preview start (mode P): the preview form made a child of the window whose handle
// the argument text carries from its fourth character on, covering it from its top-left
// corner, then shown. A handle that names no window ends the program at once.
void StartPreview(const std::string& arguments);
