#include "selvora_s.h"

#include <windows.h>

#include <vector>

#include "core/command_line.h"
#include "core/host_rules.h"
#include "core/number_text.h"
#include "core/settings_rules.h"
#include "forms/app.h"
#include "resources/resource.h"
#include "selvora_b.h"
#include "selvora_bgm.h"

namespace {

// Runs the program at path as a process of its own with no arguments, shown normally and
// activated. Nothing of the process is kept.
void StartProgram(const std::string& path) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  // The command line is the quoted program name alone, so the program sees no arguments.
  std::string line = "\"" + path + "\"";
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  if (CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace

std::string TextureBitmapPath() { return ProgramFolder() + "\\Halvane.bmp"; }

SelvoraS& Selvora_S() {
  static SelvoraS form;
  return form;
}

SelvoraS::SelvoraS()
    : Timer1(*this, 1000, false, [this] { Timer1Tick(); }),
      Timer2(*this, 200, false, [this] { Timer2Tick(); }),
      Timer3(*this, 50, true, [this] { Timer3Tick(); }) {
  SetCaption("Selvora_Main");
  // No border, never visible, no task bar button.
  SetWindowStyle(WS_POPUP, WS_EX_TOOLWINDOW);
  Pic2.LoadFromResource(IDR_MOON_TEXTURE);
  SetClientSize(Pic2.Width(), Pic2.Height());
}

void SelvoraS::OnLoad() {
  // 1. The texture for the renderer, replacing a stale file. When it cannot be written
  //    the renderer says so itself.
  Pic2.SaveAsBitmapFile(TextureBitmapPath());

  // 2, 3. The renderer, by path; the host keeps nothing of it.
  rendererPath = ProgramFolder() + "\\Halvane.dll";
  StartProgram(rendererPath);

  // 4, 5. The music.
  if (SaverSettings.kind == BgmCd) {
    OpenCd();
    Timer2.SetEnabled(true);
  }
  if (SaverSettings.kind == BgmFile) {
    const std::string extension = MusicExtension(SaverSettings.musicFile);
    if (extension == "WAV") PlayWav();
    if (extension == "MP3") {
      OpenAndPlayMp3();
      Timer1.SetEnabled(true);
    }
  }

  // 6. The start point of the mouse watch; a coordinate outside 16 bits keeps 0.
  POINT point = {0, 0};
  if (GetCursorPos(&point)) {
    TryStoreInt16(cursorStartX, point.x);
    TryStoreInt16(cursorStartY, point.y);
  } else {
    cursorStartX = 0;
    cursorStartY = 0;
  }
}

void SelvoraS::Timer1Tick() { KeepMp3Playing(); }

void SelvoraS::Timer2Tick() {
  PollCd();
  Timer2.SetEnabled(CdKeepPolling());
}

void SelvoraS::Timer3Tick() {
  POINT point = {0, 0};
  GetCursorPos(&point);  // a failed call leaves (0, 0)
  if (halvane::PointerLeftStart(cursorStartX, cursorStartY, point.x, point.y)) {
    Timer3.SetEnabled(false);
    Unload();
  }
}

bool SelvoraS::OnQueryUnload(forms::UnloadMode) {
  // The CD is stopped only while its polling still runs.
  if (Timer2.Enabled()) {
    Timer2.SetEnabled(false);
    StopCd();
  }
  if (SaverSettings.kind == BgmFile) {
    const std::string extension = MusicExtension(SaverSettings.musicFile);
    if (extension == "WAV") StopWav();
    if (extension == "MP3") StopMp3();
  }
  // The cursor comes back only when the start-up hid it (mode S). One show undoes the
  // one hide, whatever the counter was before.
  if (ModeLetter(forms::CommandArguments()) == "S") savedCursorCount = ShowCursor(TRUE);
  DeleteFileA(TextureBitmapPath().c_str());
  forms::EndProgram();
}
