// Form Selvora_P: the settings dialog: its controls, the load step (placing, filling, the
// zoom from the pointer), the shaded backgrounds, the choice of source and file, and
// saving to "Halvane.ini".
#include "selvora_p.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cmath>
#include <cstring>

#include "ansi_text.h"
#include "core/dialog_layout.h"
#include "core/number_text.h"
#include "core/settings_rules.h"
#include "forms/app.h"
#include "forms/gdi.h"
#include "resource.h"
#include "selvora_b.h"
#include "selvora_bgm.h"

namespace {

// The maker's web page, opened by "その他の作品".
const char kWebPage[] = "https://halvane.example.org/";

// The design font of every label and button.
const char kFontName[] = "ＭＳ Ｐゴシック";
constexpr double kFontPoints = 9.75;
constexpr int kFontCharset = 128;  // SHIFTJIS_CHARSET

// The buttons' stored properties, as the form was designed.
const char kCmdBgmStore[] = "caption=...\nfont=ＭＳ Ｐゴシック,9.75,400,128\n";
const char kCmdEtcStore[] = "caption=その他の作品\nfont=ＭＳ Ｐゴシック,9.75,400,128\n";
const char kCmdSetStore[] = "caption=設定\nfont=ＭＳ Ｐゴシック,9.75,400,128\n";
const char kCmdCanStore[] = "caption=ｷｬﾝｾﾙ\nfont=ＭＳ Ｐゴシック,9.75,400,128\n";

RECT Box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// One background, line by line: the form in RGB(d, d, d + 30), the panel in grey d + 30.
void ShadeLines(HDC dc, int width, int height, bool panel) {
  if (!dc) return;
  const int last = halvane::ShadeLastLine(height);
  for (int y = 0; y <= last; ++y) {
    const int d = halvane::ShadeLevel(y, height);
    const COLORREF colour = panel ? RGB(d + 30, d + 30, d + 30) : RGB(d, d, d + 30);
    forms::SolidBrush brush(colour);
    RECT line = {0, y, width, y + 1};
    FillRect(dc, &line, brush.Get());
  }
}

}  // namespace

int ShowSettingsDialog() {
  SelvoraP dialog;
  return dialog.ShowModal();
}

SelvoraP::SelvoraP() {
  SetCaption("<Halvane>");
  // Fixed single frame: a caption with its close box, no minimise or maximise button.
  SetWindowStyle(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_WINDOWEDGE);
  SetBackColour(RGB(192, 192, 192));
  SetClientSize(479, 243);
  icon_ = static_cast<HICON>(LoadImageA(forms::Instance(), MAKEINTRESOURCEA(IDI_HALVANE),
                                        IMAGE_ICON, 32, 32, 0));
  if (icon_) SetIcon(icon_);

  LOGFONTA lf = {};
  forms::ScreenDC screen;
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  lf.lfHeight = -static_cast<LONG>(std::lround(kFontPoints * dpi / 72.0));
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = kFontCharset;
  const std::string face = AnsiFromUtf8(kFontName);
  strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  font_ = CreateFontIndirectA(&lf);

  Img_Ra[0].LoadFromResource(IDR_MARK_OFF);
  Img_Ra[1].LoadFromResource(IDR_MARK_ON);
}

SelvoraP::~SelvoraP() {
  if (font_) DeleteObject(font_);
  if (icon_) DestroyIcon(icon_);
}

// ---- load ------------------------------------------------------------------------------

void SelvoraP::OnLoad() {
  CreateControls();
  PlaceDialog();
  FillControls();
  OpenAnimation();
}

void SelvoraP::CreateControls() {
  HWND form = Handle();
  const halvane::CommandFont buttonFont{kFontName, kFontPoints, FW_NORMAL, kFontCharset};

  Pic_C.Create(form, 12, 16, 453, 169, true, RGB(224, 224, 224));
  Pic_C.PaintOver = [this](HDC dc) { PaintPanelElements(dc); };
  Pic_C.MouseDown = [this](int button, int x, int y) { PanelMouseDown(button, x, y); };
  HWND panel = Pic_C.Handle();

  Shape3.rect = Box(20, 20, 113, 21);

  auto label = [this](forms::Label& l, int x, int y, int w, int h, const char* utf8, bool autoSize) {
    l.rect = Box(x, y, w, h);
    l.text = AnsiFromUtf8(utf8);
    l.font = font_;
    l.wordWrap = !autoSize;
    if (autoSize) l.AutoSize();
  };
  label(lbl15, 20, 24, 111, 13, "BGM", false);
  lbl15.align = DT_CENTER;
  label(lbl_BGM[1], 36, 56, 43, 13, "音楽CD", true);
  label(lbl14, 136, 56, 66, 13, "曲目をﾘﾋﾟｰﾄ", true);
  label(lbl_BGM[0], 36, 76, 23, 13, "無し", true);
  label(lbl_BGM[2], 36, 96, 60, 13, "MP3、WAV", true);
  label(lbl_Fname, 68, 116, 357, 29, "", false);
  lbl_Fname.border = true;

  const int markTop[3] = {76, 56, 96};
  for (int i = 0; i < 3; ++i) {
    Img_BGM[i].left = 20;
    Img_BGM[i].top = markTop[i];
    Img_BGM[i].picture = &Img_Ra[0];
  }

  BGM_Repeat.Create(panel, 92, 52, 41, 20, font_);

  Cmd_BGM.Create(panel, 36, 116, 29, 21, kCmdBgmStore, buttonFont);
  Cmd_Etc.Create(form, 192, 200, 125, 25, kCmdEtcStore, buttonFont);
  Cmd_Set.Create(form, 320, 200, 73, 25, kCmdSetStore, buttonFont);
  Cmd_Can.Create(form, 396, 200, 69, 25, kCmdCanStore, buttonFont);
  Cmd_BGM.Click = [this] { ChooseFile(); };
  Cmd_Etc.Click = [this] { OpenWebPage(); };
  Cmd_Set.Click = [this] { SaveAndClose(); };
  Cmd_Can.Click = [this] { Unload(); };
}

void SelvoraP::PlaceDialog() {
  // Centred across, at one third of the free height, frame included.
  RECT window;
  if (!GetWindowRect(Handle(), &window)) return;
  const halvane::ScreenPoint at = halvane::DialogPosition(
      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), window.right - window.left,
      window.bottom - window.top);
  SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SelvoraP::FillControls() {
  Cmd_BGM.Initialize();
  Cmd_Etc.Initialize();
  Cmd_Set.Initialize();
  Cmd_Can.Initialize();

  Cmd_BGM.SetEnabled(false);
  BGM_Repeat.SetEnabled(false);
  ShowMarks();
  if (SaverSettings.kind == BgmCd) BGM_Repeat.SetEnabled(true);
  if (SaverSettings.kind == BgmFile) Cmd_BGM.SetEnabled(true);

  BGM_Repeat.SetText(TwoHashFormat(SaverSettings.repeatTrack));
  for (int n = 0; n <= 30; ++n) BGM_Repeat.AddItem(TwoHashFormat(n));
  lbl_Fname.text = SaverSettings.musicFile;
  Pic_C.Refresh();
}

void SelvoraP::ShowMarks() {
  // All off, then the chosen one on; a kind outside 0 to 2 leaves all three off.
  for (auto& mark : Img_BGM) mark.picture = &Img_Ra[0];
  const int kind = SaverSettings.kind;
  if (kind >= 0 && kind <= 2) Img_BGM[kind].picture = &Img_Ra[1];
}

void SelvoraP::OpenAnimation() {
  POINT p;
  if (GetCursorPos(&p)) {
    TryStoreInt16(cursorStartX, p.x);
    TryStoreInt16(cursorStartY, p.y);
  } else {
    cursorStartX = 0;
    cursorStartY = 0;
  }
  ZoomOpen(Handle());
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void SelvoraP::ZoomOpen(HWND window) {
  RECT from = {cursorStartX, cursorStartY, cursorStartX, cursorStartY};
  RECT to;
  if (!GetWindowRect(window, &to)) return;
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void SelvoraP::ZoomClose(HWND window) {
  RECT to = {cursorStartX, cursorStartY, cursorStartX, cursorStartY};
  RECT from;
  if (!GetWindowRect(window, &from)) return;
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void SelvoraP::OnUnload() { ZoomClose(Handle()); }

// ---- shaded backgrounds ------------------------------------------------------------------

bool SelvoraP::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The resize handler: when the dialog is first shown, and on any later size change.
  if ((msg == WM_SHOWWINDOW && wParam && !backgroundsPainted_) ||
      (msg == WM_SIZE && backgroundsPainted_)) {
    PaintBackgrounds();
  }
  return false;
}

void SelvoraP::PaintBackgrounds() {
  backgroundsPainted_ = true;
  ShadeLines(Canvas(), ClientWidth(), ClientHeight(), false);
  ShadeLines(Pic_C.Canvas(), Pic_C.ClientWidth(), Pic_C.ClientHeight(), true);
  Refresh();
  Pic_C.Refresh();
}

void SelvoraP::PaintPanelElements(HDC dc) {
  Shape3.Draw(dc);
  lbl15.Draw(dc);
  lbl14.Draw(dc);
  for (const auto& mark : Img_BGM) mark.Draw(dc);
  for (const auto& l : lbl_BGM) l.Draw(dc);
  lbl_Fname.Draw(dc);
}

// ---- choosing ----------------------------------------------------------------------------

void SelvoraP::PanelMouseDown(int button, int x, int y) {
  // Any mouse button on a mark or its label chooses that source.
  for (int i = 0; i < 3; ++i) {
    if (Img_BGM[i].Contains(x, y) || lbl_BGM[i].Contains(x, y)) {
      ChooseSource(i);
      return;
    }
  }
}

void SelvoraP::ChooseSource(int index) {
  SaverSettings.kind = static_cast<int16_t>(index);
  Cmd_BGM.SetEnabled(false);
  BGM_Repeat.SetEnabled(false);
  ShowMarks();
  if (index == BgmCd) BGM_Repeat.SetEnabled(true);
  if (index == BgmFile) Cmd_BGM.SetEnabled(true);
  Pic_C.Refresh();
}

void SelvoraP::ChooseFile() {
  const std::string filter = AnsiFromUtf8("BGMﾌｧｲﾙ (MP3 WAV)") + '\0' + "*.MP3;*.WAV" + '\0' + '\0';
  const std::string title = AnsiFromUtf8("ﾌｧｲﾙを開く");
  char file[256] = {};       // 255 characters and the NUL that ends them
  char fileTitle[256] = {};
  OPENFILENAMEA ofn = {};
  // The record as Windows 95 and NT 4 knew it (76 bytes in a 32-bit build): the same
  // dialog on every system, without the places bar.
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = Handle();
  ofn.hInstance = forms::Instance();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = 255;
  ofn.lpstrFileTitle = fileTitle;
  ofn.nMaxFileTitle = 255;
  ofn.lpstrInitialDir = nullptr;
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = 0;
  if (GetOpenFileNameA(&ofn) > 0) {
    SaverSettings.musicFile = TextBeforeNul(file, sizeof file);
    lbl_Fname.text = SaverSettings.musicFile;
    Pic_C.Refresh();
  }
}

// ---- saving ------------------------------------------------------------------------------

void SelvoraP::SaveAndClose() {
  const std::string path = IniPath();
  const std::string section = AnsiFromUtf8(kIniSection);
  WriteIni(section, AnsiFromUtf8(kIniKindKey), NumberText(SaverSettings.kind), path);
  // A number beyond 16 bits cannot be kept: the track loaded at start-up stays.
  if (auto track = RepeatBoxNumber(BGM_Repeat.Text())) SaverSettings.repeatTrack = *track;
  WriteIni(section, AnsiFromUtf8(kIniRepeatKey), NumberText(SaverSettings.repeatTrack), path);
  WriteIni(section, AnsiFromUtf8(kIniFileKey), SaverSettings.musicFile, path);
  Unload();
}

void SelvoraP::OpenWebPage() {
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  ShellExecuteA(Handle(), "open", kWebPage, "", "", SW_SHOWNORMAL);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}
