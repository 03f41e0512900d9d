// Form Selvora_P: the settings dialog. Shows the music source (none, music CD, MP3 or WAV
// file), the CD track to repeat and the music file from SaverSettings, and writes the
// three to "Halvane.ini" when the user confirms with "設定".
#pragma once

#include <windows.h>

#include "command.h"
#include "forms/combo_box.h"
#include "forms/elements.h"
#include "forms/form.h"
#include "forms/picture.h"
#include "forms/picture_box.h"

// Shows the settings dialog modally (no owner) and returns when it has closed.
int ShowSettingsDialog();

class SelvoraP : public forms::Form {
 public:
  SelvoraP();
  ~SelvoraP() override;

 protected:
  void OnLoad() override;
  void OnUnload() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateControls();
  void PlaceDialog();
  void FillControls();
  void OpenAnimation();
  void PaintBackgrounds();
  void PaintPanelElements(HDC dc);
  void PanelMouseDown(int button, int x, int y);
  void ChooseSource(int index);
  void ShowMarks();
  void ChooseFile();
  void SaveAndClose();
  void OpenWebPage();
  void ZoomOpen(HWND window);
  void ZoomClose(HWND window);

  HFONT font_ = nullptr;  // ours
  HICON icon_ = nullptr;  // ours
  bool backgroundsPainted_ = false;

  forms::Picture Img_Ra[2];  // the off and on marks
  forms::PictureBox Pic_C;   // Pic_C(0), the music panel
  forms::ShapeOutline Shape3;
  forms::Label lbl15;  // lbl(15): "BGM"
  forms::Label lbl14;  // lbl(14): "曲目をﾘﾋﾟｰﾄ"
  forms::ImageElement Img_BGM[3];
  forms::Label lbl_BGM[3];
  forms::Label lbl_Fname;
  forms::ComboBox BGM_Repeat;
  Command Cmd_BGM;
  Command Cmd_Etc;
  Command Cmd_Set;
  Command Cmd_Can;
};
