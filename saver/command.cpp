// Command: the skinned push button's window. Messages are turned into calls on
// halvane::CommandLogic; its outputs are drawn into the retained face bitmap.
#include "command.h"

#include <cmath>
#include <cstring>

#include "ansi_text.h"
#include "forms/elements.h"
#include "resource.h"

using halvane::CommandFont;
using halvane::CommandLogic;
using halvane::CommandOutput;
using halvane::CommandPicture;
using halvane::FaceDrawing;

namespace {

const char kClassName[] = "Selvora.Command";
constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverIntervalMs = 100;

// ---- the six state pictures, shared by every button --------------------------------

struct StatePicture {
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;
};

// A bitmap file carried as RCDATA, as a DIB section. Null when it is not a bitmap file
// of 24 bits that fits in the resource.
HBITMAP BitmapFromResource(int id, int& width, int& height) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = SizeofResource(instance, found);
  if (!bytes || size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return nullptr;

  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  std::memcpy(&file, bytes, sizeof file);
  std::memcpy(&info, bytes + sizeof file, sizeof info);
  if (file.bfType != 0x4D42 || info.biBitCount != 24 || info.biCompression != BI_RGB ||
      info.biWidth <= 0 || info.biWidth > 4096 || info.biHeight == 0 ||
      info.biHeight > 4096 || info.biHeight < -4096) {
    return nullptr;
  }
  const LONG rows = info.biHeight < 0 ? -info.biHeight : info.biHeight;
  const DWORD stride = (static_cast<DWORD>(info.biWidth) * 3u + 3u) & ~3u;
  if (file.bfOffBits > size || size - file.bfOffBits < stride * static_cast<DWORD>(rows)) {
    return nullptr;
  }
  BITMAPINFO header = {};
  header.bmiHeader = info;
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  std::memcpy(bits, bytes + file.bfOffBits, stride * static_cast<DWORD>(rows));
  GdiFlush();
  width = info.biWidth;
  height = rows;
  return bitmap;
}

const StatePicture& Picture(CommandPicture which) {
  static StatePicture pictures[halvane::kCommandPictureCount];
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    const int ids[halvane::kCommandPictureCount] = {
        IDR_BUTTON_NORMAL, IDR_BUTTON_HIGHLIGHT, IDR_BUTTON_PRESSED,
        IDR_BUTTON_DISABLE, IDR_BUTTON_SELECTED, IDR_BUTTON_HIGHLIGHTSELECT};
    for (int i = 0; i < halvane::kCommandPictureCount; ++i) {
      pictures[i].bitmap = BitmapFromResource(ids[i], pictures[i].width, pictures[i].height);
    }
  }
  return pictures[static_cast<int>(which)];
}

bool RegisterCommandClass(WNDPROC windowProc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  registered = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

COLORREF CaptionColour(uint32_t colour) {
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFFu));
  return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

int ButtonFromMessage(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return 2;
    default: return 4;  // middle
  }
}

}  // namespace

// ---- window ------------------------------------------------------------------------

Command::~Command() {
  if (hwnd_) {
    HWND hwnd = hwnd_;
    DestroyWindow(hwnd);
  }
  if (font_) DeleteObject(font_);
}

bool Command::Create(HWND parent, int x, int y, int width, int height,
                     std::string_view storeText, const CommandFont& ambientFont) {
  if (hwnd_ || !RegisterCommandClass(&Command::WindowProc)) return false;
  ambientFont_ = ambientFont;
  // A new control: every field 0, timer stopped. Created hidden so that the stored
  // properties are loaded before the first resize, as the forms run time does.
  HWND hwnd = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_CLIPSIBLINGS, x, y, width,
                              height, parent, nullptr, GetModuleHandleA(nullptr), this);
  if (!hwnd) return false;

  halvane::CommandProperties properties = halvane::ParseCommandProperties(storeText);
  logic_.LoadProperties(properties);
  MakeFont();
  SetWindowTextA(hwnd_, Caption().c_str());
  Apply(logic_.TakeOutput());
  // Then the first sizing, which shows the enabled state.
  loaded_ = true;
  EnsureFace();
  logic_.Resized();
  Apply(logic_.TakeOutput());
  if (hwnd_) ShowWindow(hwnd_, SW_SHOWNA);
  return true;
}

LRESULT CALLBACK Command::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<Command*>(forms::WindowObject(hwnd, msg, lParam));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT Command::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  LRESULT result = 0;
  if (forms::AnswerPaintMessage(hwnd, msg, wParam, [this](HDC dc) { PaintTo(dc); }, result)) {
    return result;
  }
  switch (msg) {
    case WM_SETFOCUS:
      logic_.FocusGained();
      Apply(logic_.TakeOutput());
      return 0;
    case WM_KILLFOCUS:
      logic_.FocusLost();
      Apply(logic_.TakeOutput());
      return 0;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      OnButtonDown(ButtonFromMessage(msg));
      return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      OnButtonUp(ButtonFromMessage(msg), wParam);
      return 0;
    case WM_MOUSEMOVE:
      logic_.MouseMoved();
      Apply(logic_.TakeOutput());
      return 0;
    case WM_TIMER:
      if (wParam == kHoverTimer) {
        OnHoverTick();
        return 0;
      }
      break;
    case WM_SIZE:
      EnsureFace();
      if (!loaded_) return 0;
      logic_.Resized();
      Apply(logic_.TakeOutput());
      return 0;
    case WM_NCDESTROY:
      forms::ForgetWindowObject(hwnd);
      hwnd_ = nullptr;
      face_.Release();
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Command::OnButtonDown(int button) {
  // The press captures the mouse so that its release reaches the button wherever it
  // happens; a left press gives the button the focus first.
  SetCapture(hwnd_);
  if (button == halvane::kLeftButton && GetFocus() != hwnd_) SetFocus(hwnd_);
  if (!hwnd_) return;
  logic_.ButtonPressed(button);
  Apply(logic_.TakeOutput());
}

void Command::OnButtonUp(int button, WPARAM keys) {
  if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == hwnd_) {
    ReleaseCapture();
  }
  logic_.ButtonReleased(button);
  Apply(logic_.TakeOutput());
}

void Command::OnHoverTick() {
  POINT p;
  bool over = false;  // a failed position counts as outside
  if (GetCursorPos(&p)) over = WindowFromPoint(p) == hwnd_;
  logic_.HoverTick(over);
  Apply(logic_.TakeOutput());
}

void Command::Apply(CommandOutput output) {
  if (!hwnd_) return;
  for (const FaceDrawing& drawing : output.drawn) RenderFace(drawing);
  const BOOL enabled = logic_.EnabledField() ? TRUE : FALSE;
  if ((IsWindowEnabled(hwnd_) ? TRUE : FALSE) != enabled) EnableWindow(hwnd_, enabled);
  if (!hwnd_) return;
  if (output.timerStarted) SetTimer(hwnd_, kHoverTimer, kHoverIntervalMs, nullptr);
  InvalidateRect(hwnd_, nullptr, FALSE);
  // Last: the handler may close the form that holds the button.
  if (output.click && Click) Click();
}

// ---- face ----------------------------------------------------------------------------

void Command::EnsureFace() {
  RECT r = {};
  GetClientRect(hwnd_, &r);
  const int w = r.right > 0 ? r.right : 1, h = r.bottom > 0 ? r.bottom : 1;
  if (face_.Dc() && w == face_.Width() && h == face_.Height()) return;
  face_.Release();  // a face that cannot be made anew is gone, not kept at the old size
  face_.Resize(w, h, GetSysColorBrush(COLOR_BTNFACE), false);
}

void Command::RenderFace(const FaceDrawing& drawing) {
  EnsureFace();
  HDC face = face_.Dc();
  if (!face) return;
  const int faceWidth = face_.Width(), faceHeight = face_.Height();
  // Clear, gradient, then the eight pieces of the picture's ring.
  RECT all = {0, 0, faceWidth, faceHeight};
  FillRect(face, &all, GetSysColorBrush(COLOR_BTNFACE));
  FillGradient(face, drawing.gradientInverted);

  const int widthTwips = faceWidth * halvane::kTwipsPerPixel;
  const int heightTwips = faceHeight * halvane::kTwipsPerPixel;
  const StatePicture& picture = Picture(drawing.picture);
  if (picture.bitmap) {
    HDC source = CreateCompatibleDC(face);
    if (source) {
      HGDIOBJ old = SelectObject(source, picture.bitmap);
      const int oldMode = SetStretchBltMode(face, COLORONCOLOR);
      for (const halvane::FacePiece& piece : halvane::FacePieces(widthTwips, heightTwips)) {
        const halvane::TwipRect d = halvane::TwipsToPixels(piece.destination);
        const halvane::TwipRect s = halvane::TwipsToPixels(piece.source);
        if (d.width <= 0 || d.height <= 0) continue;  // a face too small for this edge
        if (d.width == s.width && d.height == s.height) {
          BitBlt(face, d.left, d.top, d.width, d.height, source, s.left, s.top, SRCCOPY);
        } else {
          StretchBlt(face, d.left, d.top, d.width, d.height, source, s.left, s.top,
                     s.width, s.height, SRCCOPY);
        }
      }
      SetStretchBltMode(face, oldMode);
      SelectObject(source, old);
      DeleteDC(source);
    }
  }
  // The caption label: 195 twips high, 10 twips above the vertical centre.
  const double top = halvane::CaptionTopTwips(heightTwips) / halvane::kTwipsPerPixel;
  captionRect_.left = 0;
  captionRect_.top = static_cast<LONG>(std::lround(top));
  captionRect_.right = faceWidth;
  captionRect_.bottom = captionRect_.top + halvane::kCaptionHeightTwips / halvane::kTwipsPerPixel;
}

void Command::FillGradient(HDC dc, bool inverted) {
  const halvane::GradientTexts texts = halvane::GradientColours(inverted);
  const auto top = halvane::GradientChannels(texts.top);
  const auto bottom = halvane::GradientChannels(texts.bottom);
  if (!top || !bottom) return;
  TRIVERTEX vertices[3] = {};
  vertices[0].x = 0;
  vertices[0].y = 0;
  vertices[0].Red = (*top)[0];
  vertices[0].Green = (*top)[1];
  vertices[0].Blue = (*top)[2];
  vertices[1].x = face_.Width() - 1;
  vertices[1].y = face_.Height() - 1;
  vertices[1].Red = (*bottom)[0];
  vertices[1].Green = (*bottom)[1];
  vertices[1].Blue = (*bottom)[2];
  GRADIENT_RECT rect = {1, 0};
  GradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void Command::PaintTo(HDC dc) {
  if (logic_.Opaque() && face_.Dc()) {
    face_.PaintTo(dc, face_.Width(), face_.Height());
  } else if (HWND parent = GetParent(hwnd_)) {
    // Transparent: what the holding window shows behind the button.
    POINT origin = {0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    POINT old;
    SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }

  const std::string caption = Caption();
  if (caption.empty()) return;
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_TOP;  // only the first line fits
  forms::DrawLabelText(dc, caption, captionRect_, format, font_,
                       CaptionColour(logic_.CaptionColour()), logic_.CaptionEnabled());
}

void Command::MakeFont() {
  CommandFont font = ambientFont_;
  if (auto stored = logic_.Font()) {
    if (auto parsed = halvane::ParseCommandFont(*stored)) font = *parsed;
  }
  LOGFONTA lf = {};
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  lf.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
  lf.lfWeight = font.weight;
  lf.lfCharSet = static_cast<BYTE>(font.charset);
  lf.lfQuality = DEFAULT_QUALITY;
  const std::string face = AnsiFromUtf8(font.name.c_str());
  strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT made = CreateFontIndirectA(&lf);
  if (made) {
    if (font_) DeleteObject(font_);
    font_ = made;
  }
}

// ---- properties ------------------------------------------------------------------------

std::string Command::Caption() const { return AnsiFromUtf8(logic_.Caption().c_str()); }

void Command::SetCaption(const std::string& ansiText) {
  logic_.WriteCaption(Utf8FromAnsi(ansiText));
  if (hwnd_) SetWindowTextA(hwnd_, ansiText.c_str());
  Apply(logic_.TakeOutput());
}

bool Command::Enabled() {
  const bool value = logic_.ReadEnabled();
  Apply(logic_.TakeOutput());
  return value;
}

void Command::SetEnabled(bool value) {
  logic_.WriteEnabled(value);
  Apply(logic_.TakeOutput());
}

CommandFont Command::Font() const {
  if (auto stored = logic_.Font()) {
    if (auto parsed = halvane::ParseCommandFont(*stored)) return *parsed;
  }
  return ambientFont_;
}

void Command::SetFont(const CommandFont& font) {
  logic_.WriteFont(halvane::FormatCommandFont(font));
  MakeFont();
  Apply(logic_.TakeOutput());
}

uint32_t Command::FontColour() {
  const uint32_t value = logic_.ReadFontColour();
  Apply(logic_.TakeOutput());
  return value;
}

void Command::SetFontColour(uint32_t colour) {
  logic_.WriteFontColour(colour);
  Apply(logic_.TakeOutput());
}

uint8_t Command::Visible() {
  const uint8_t value = logic_.ReadVisible();
  Apply(logic_.TakeOutput());
  return value;
}

void Command::SetVisible(uint8_t value) {
  logic_.WriteVisible(value);
  Apply(logic_.TakeOutput());
}

void Command::Initialize() {
  logic_.Initialize();
  Apply(logic_.TakeOutput());
}

std::string Command::SaveProperties() {
  const std::string text = halvane::FormatCommandProperties(logic_.SaveProperties());
  Apply(logic_.TakeOutput());
  return text;
}
