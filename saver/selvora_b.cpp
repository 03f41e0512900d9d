// Module Selvora_B: the host's entry and its start-up procedure, which picks the mode
// from the command line and opens one form (saver, settings dialog, preview) or ends.
#include "selvora_b.h"

#include <windows.h>

#include <string>

#include "ansi_text.h"
#include "core/command_line.h"
#include "core/host_rules.h"
#include "forms/app.h"
#include "selvora_p.h"
#include "selvora_r.h"  // StartPreview
#include "selvora_s.h"

void RunStartup() {
  // 1. Another instance: the saver or the settings dialog is open. Both searches first.
  const HWND saver = FindWindowA(nullptr, "Selvora_Main");
  const HWND dialog = FindWindowA(nullptr, "<Halvane>");
  if (saver || dialog) forms::EndProgram();

  const std::string arguments = forms::CommandArguments();
  const halvane::StartMode mode = halvane::ModeOf(arguments);

  // 2. The preview needs neither the settings nor the renderer.
  if (mode == halvane::StartMode::Preview) {
    StartPreview(arguments);
    return;
  }

  // 3. The settings.
  LoadSettings();

  // 4. The renderer beside the host.
  if (!FileExists(ProgramFolder() + "\\Halvane.dll")) {
    MessageBoxA(nullptr, AnsiFromUtf8("Halvane.dllが同じﾌｫﾙﾀﾞに見つかりません！").c_str(),
                "Halvane (ScreenSaver)", MB_OK);
    forms::EndProgram();
  }

  // 5. The settings dialog, then the end.
  if (mode == halvane::StartMode::Settings) {
    ShowSettingsDialog();
    forms::EndProgram();
  }

  // 6. Any other letter.
  if (mode == halvane::StartMode::End) forms::EndProgram();

  // 7. Mode S hides the cursor; an empty command line leaves it alone.
  if (mode == halvane::StartMode::SaverHidden) savedCursorCount = ShowCursor(FALSE);

  // 8. The hidden saver form; its load step starts the run.
  if (!Selvora_S().Load()) forms::EndProgram();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  forms::SetInstance(instance);
  RunStartup();
  forms::EndProgram(static_cast<UINT>(forms::RunMessageLoop()));
}
