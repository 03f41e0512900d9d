// Unit Selvin: the renderer's entry, its full-screen OpenGL window and the frame loop that
// never waits. Ends on Esc, on a close request, or when the pointer has moved more than 30
// pixels on both axes from where it was at the start; exit code 0 (1 from a texture failure).
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <float.h>

#include <cstdint>

#include "end_rule.h"
#include "moon_scene.h"

#ifdef HALVANE_BENCH
#include "bench_probe.h"  // timing build of bench/ only; the shipped program has no hooks
#else
#define BenchFrameSwapped() ((void)0)
#define BenchRunEnded() ((void)0)
#define BenchStep(name) ((void)0)
#define BenchFrameStarts() ((void)0)
#endif

namespace {

const char kClassName[] = "OpenGL";
const char kTitle[] = "Selvin";
const UINT_PTR kTitleTimer = 1;

bool KeyStates[256] = {};      // true while the key of that virtual-key code is down
POINT CursorStart = {0, 0};
POINT CursorNow = {0, 0};      // last position GetCursorPos gave
HWND RenderWindow = nullptr;
HDC RenderDC = nullptr;        // the window's own DC (CS_OWNDC); goes with the window
HGLRC RenderContext = nullptr;
int WindowWidth = 0;
int WindowHeight = 0;
std::uint32_t FrameCount = 0;  // frames drawn since the last tick of the title timer

}  // namespace

void SetProjection(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

LRESULT CALLBACK RenderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_SIZE:
      BenchStep("wm_size");
      SetProjection(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      // Only a posted message can carry a code beyond the table; it is dropped.
      if (wParam < sizeof KeyStates) KeyStates[wParam] = (message == WM_KEYDOWN);
      return 0;
    case WM_TIMER:
      if (wParam != kTitleTimer) break;
      SetWindowTextA(RenderWindow, kTitle);
      FrameCount = 0;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void CloseRenderWindow() {
  wglMakeCurrent(RenderDC, nullptr);
  if (RenderContext != nullptr) wglDeleteContext(RenderContext);
  RenderContext = nullptr;
  if (RenderWindow != nullptr) DestroyWindow(RenderWindow);
  RenderWindow = nullptr;
  RenderDC = nullptr;
  UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
}

bool OpenRenderWindow(int colorBits) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);

  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = RenderWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0) return false;
  BenchStep("register");

  WindowWidth = GetSystemMetrics(SM_CXMAXIMIZED);
  WindowHeight = GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION);

  RenderWindow = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kClassName, kTitle,
                                 WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                 WindowWidth, WindowHeight, nullptr, nullptr, instance, nullptr);
  if (RenderWindow == nullptr) { CloseRenderWindow(); return false; }
  BenchStep("create");

  RenderDC = GetDC(RenderWindow);
  if (RenderDC == nullptr) { CloseRenderWindow(); return false; }
  BenchStep("getdc");

  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = static_cast<BYTE>(colorBits);
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  const int chosen = ChoosePixelFormat(RenderDC, &format);
  if (chosen == 0) { CloseRenderWindow(); return false; }
  BenchStep("choose");
  if (!SetPixelFormat(RenderDC, chosen, &format)) { CloseRenderWindow(); return false; }
  BenchStep("setformat");

  RenderContext = wglCreateContext(RenderDC);
  if (RenderContext == nullptr) { CloseRenderWindow(); return false; }
  BenchStep("context");
  if (!wglMakeCurrent(RenderDC, RenderContext)) { CloseRenderWindow(); return false; }
  BenchStep("current");

  SetTimer(RenderWindow, kTitleTimer, 1000, nullptr);
  BenchStep("timer");
  ShowWindow(RenderWindow, SW_SHOW);
  BenchStep("show");
  SetForegroundWindow(RenderWindow);
  BenchStep("foreground");
  SetFocus(RenderWindow);
  BenchStep("focus");
  SetProjection(WindowWidth, WindowHeight);
  BenchStep("projection");
  SetupScene();
  BenchStep("scene");
  return true;
}

void RunRenderer() {
  if (!OpenRenderWindow(32)) return;

  GetCursorPos(&CursorNow);
  CursorStart = CursorNow;
  ShowCursor(FALSE);

  bool done = false;
  MSG message = {};
  while (!done) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        done = true;
      } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      continue;
    }
    ++FrameCount;
    BenchFrameStarts();
    DrawMoonFrame();
    SwapBuffers(RenderDC);
    BenchFrameSwapped();
    if (KeyStates[VK_ESCAPE]) {
      done = true;
      continue;
    }
    GetCursorPos(&CursorNow);
    if (halvane::PointerEndsRun(CursorStart.x, CursorStart.y, CursorNow.x, CursorNow.y)) done = true;
  }

  ShowCursor(TRUE);
  CloseRenderWindow();
  BenchRunEnded();
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // No floating-point result may trap, whatever GL or GLU computes.
  _controlfp(_MCW_EM, _MCW_EM);
  BenchStep("main");
  RunRenderer();
  return 0;
}
