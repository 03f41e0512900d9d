// The benchmark floor: a window, pixel format and context made like the renderer's, and a
// bare loop that only empties the message queue and draws. "clear" clears and swaps;
// "scene" draws the renderer's own sphere and texture (Halvane.bmp beside the program).
// Ends on WM_CLOSE, then writes bench.txt.
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

#include "bench_probe.h"
#include "moon_scene.h"

namespace {

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const bool scene = std::strstr(commandLine, "scene") != nullptr;
  BenchStep("main");

  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = FloorWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = "HalvaneFloor";
  if (RegisterClassA(&windowClass) == 0) return 2;
  BenchStep("register");

  const int width = GetSystemMetrics(SM_CXMAXIMIZED);
  const int height = GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION);
  HWND window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, "HalvaneFloor", "HalvaneFloor",
                                WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 2;
  BenchStep("create");
  HDC dc = GetDC(window);
  BenchStep("getdc");
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  const int chosen = ChoosePixelFormat(dc, &format);
  if (chosen == 0) return 2;
  BenchStep("choose");
  if (!SetPixelFormat(dc, chosen, &format)) return 2;
  BenchStep("setformat");
  HGLRC context = wglCreateContext(dc);
  if (context == nullptr) return 2;
  BenchStep("context");
  if (!wglMakeCurrent(dc, context)) return 2;
  BenchStep("current");
  ShowWindow(window, SW_SHOW);
  BenchStep("show");

  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / height, 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  BenchStep("projection");
  if (scene) SetupScene();
  else glClearColor(0, 0, 0, 0);
  BenchStep("scene");

  MSG message = {};
  for (;;) {
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) { quit = true; break; }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (quit) break;
    BenchFrameStarts();
    if (scene) DrawMoonFrame();
    else glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(dc);
    BenchFrameSwapped();
  }

  wglMakeCurrent(dc, nullptr);
  wglDeleteContext(context);
  DestroyWindow(window);
  BenchRunEnded();
  return 0;
}
