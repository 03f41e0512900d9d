// preview_check.exe: runs the host's own preview start against a parent window of this
// process and prints the preview form into bitmap files, so a test can compare its
// picture. (Under Wine a child whose parent lives in another process never reaches the
// screen, and a device context cannot travel between processes, so the real program's
// picture cannot be read from outside.)
//
//   preview_check W H PRINT.BMP PRINTCLIENT.BMP
// Prints one JSON line: the child's facts, whether each print worked, and how many host
// forms were still loaded after the parent was destroyed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/bitmap_file.h"
#include "forms/app.h"
#include "selvora_r.h"

namespace {

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(h, &r);
    FillRect(reinterpret_cast<HDC>(w), &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    return 1;
  }
  return DefWindowProcA(h, m, w, l);
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < ms) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;  // the forms' end of loop; not ours
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// Prints the window into a 24-bit bitmap file; client: WM_PRINTCLIENT, else PrintWindow.
bool PrintTo(HWND h, const char* path, bool client) {
  RECT r = {};
  GetClientRect(h, &r);
  if (r.right <= 0 || r.bottom <= 0) return false;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = r.right;
  bi.bmiHeader.biHeight = r.bottom;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  PatBlt(mem, 0, 0, r.right, r.bottom, WHITENESS);
  bool ok = client ? (SendMessageA(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT), true)
                   : PrintWindow(h, mem, 0) != FALSE;
  GdiFlush();
  halvane::BitmapImage img;
  img.width = r.right;
  img.height = r.bottom;
  const size_t row = static_cast<size_t>(r.right) * 3, stride = halvane::BitmapRowStride(r.right);
  for (int y = 0; y < r.bottom; ++y) {
    const auto* p = static_cast<const unsigned char*>(bits) + static_cast<size_t>(y) * stride;
    img.bgr.insert(img.bgr.end(), p, p + row);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  const std::vector<uint8_t> file = halvane::EncodeBitmapFile(img);
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  ok = ok && std::fwrite(file.data(), 1, file.size(), f) == file.size();
  std::fclose(f);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "preview_check W H PRINT.BMP PRINTCLIENT.BMP\n");
    return 2;
  }
  forms::SetInstance(GetModuleHandleA(nullptr));
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PreviewCheckParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, wc.lpszClassName, "Preview Check Parent", WS_POPUP | WS_VISIBLE,
                                50, 50, std::atoi(argv[1]), std::atoi(argv[2]), nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!parent) return 1;
  Pump(100);

  StartPreview("/p " + std::to_string(reinterpret_cast<LONG_PTR>(parent)));
  Pump(300);

  HWND child = FindWindowExA(parent, nullptr, nullptr, "Preview Window");
  RECT cr = {}, pr = {};
  if (child) GetWindowRect(child, &cr);
  GetWindowRect(parent, &pr);
  const LONG style = child ? GetWindowLongA(child, GWL_STYLE) : 0;
  const bool printed = child && PrintTo(child, argv[3], false);
  const bool printedClient = child && PrintTo(child, argv[4], true);

  const int loadedBefore = forms::LoadedFormCount();
  DestroyWindow(parent);
  Pump(200);
  std::printf("{\"child\":%s,\"rect\":[%ld,%ld,%ld,%ld],\"style\":%lu,\"printed\":%s,"
              "\"printed_client\":%s,\"forms_before\":%d,\"forms_after\":%d}\n",
              child ? "true" : "false", cr.left - pr.left, cr.top - pr.top, cr.right - pr.left,
              cr.bottom - pr.top, static_cast<unsigned long>(style), printed ? "true" : "false",
              printedClient ? "true" : "false", loadedBefore, forms::LoadedFormCount());
  return 0;
}
