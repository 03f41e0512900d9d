// Form Selvora_S: the hidden saver form. Its load step writes the Moon texture beside the
// host as "Halvane.bmp", starts the renderer "Halvane.dll", starts the music and notes the
// pointer; three timers keep the music going and watch the mouse; its unload-query step
// stops the music, gives the cursor back, deletes the texture file and ends the program.
#pragma once

#include <string>

#include "forms/form.h"
#include "forms/picture.h"
#include "forms/timer.h"

class SelvoraS : public forms::Form {
 public:
  SelvoraS();

  forms::Picture Pic2;   // the 512 x 256 Moon texture, never shown
  forms::Timer Timer1;   // 1000 ms, off at start: MP3 tick
  forms::Timer Timer2;   // 200 ms, off at start: CD tick
  forms::Timer Timer3;   // 50 ms, on from the start: mouse watch
  std::string rendererPath;

 protected:
  void OnLoad() override;
  bool OnQueryUnload(forms::UnloadMode mode) override;

 private:
  void Timer1Tick();
  void Timer2Tick();
  void Timer3Tick();
};

// The program's one saver form.
SelvoraS& Selvora_S();

// "Halvane.bmp" beside the host.
std::string TextureBitmapPath();
