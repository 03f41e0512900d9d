#include "forms/app.h"

#include <cmath>

#include "core/host_rules.h"

namespace forms {
namespace {

HINSTANCE g_instance = nullptr;
int g_loadedForms = 0;

float TwipsPerPixel(int axis) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, axis) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpi <= 0) dpi = 96;
  return 1440.0f / static_cast<float>(dpi);
}

int RoundToInt(double v) {
  if (!(v > -2147483648.0 && v < 2147483647.0)) return 0;
  return static_cast<int>(std::floor(v + 0.5));
}

}  // namespace

void SetInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE Instance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }

std::string CommandArguments() {
  const char* line = GetCommandLineA();
  return std::string(halvane::ArgumentText(line ? line : ""));
}

int RunMessageLoop() {
  MSG msg;
  while (g_loadedForms > 0) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

void EndProgram(UINT exitCode) { ExitProcess(exitCode); }

float TwipsPerPixelX() { return TwipsPerPixel(LOGPIXELSX); }
float TwipsPerPixelY() { return TwipsPerPixel(LOGPIXELSY); }

int TwipsToPixelsX(double twips) { return RoundToInt(twips / TwipsPerPixelX()); }
int TwipsToPixelsY(double twips) { return RoundToInt(twips / TwipsPerPixelY()); }

void NoteFormLoaded() { ++g_loadedForms; }

void NoteFormGone() {
  if (g_loadedForms > 0) --g_loadedForms;
  if (g_loadedForms == 0) PostQuitMessage(0);
}

int LoadedFormCount() { return g_loadedForms; }

}  // namespace forms
