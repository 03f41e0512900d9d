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
#include "selvora_r.h"
#include "selvora_s.h"

namespace {

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

}  // namespace

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
