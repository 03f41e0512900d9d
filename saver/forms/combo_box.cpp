#include "forms/combo_box.h"

#include <vector>

#include "forms/app.h"

namespace forms {

ComboBox::~ComboBox() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool ComboBox::Create(HWND parent, int x, int y, int width, int height, HFONT font,
                      int listHeight) {
  if (hwnd_) return false;
  hwnd_ = CreateWindowExA(0, "COMBOBOX", "",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN |
                              CBS_AUTOHSCROLL,
                          x, y, width, height + listHeight, parent, nullptr, Instance(),
                          nullptr);
  if (!hwnd_) return false;
  if (font) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The closed box: the edit part plus the 3-pixel frame above and below it.
  if (height > 6) SendMessageA(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - 6);
  return true;
}

std::string ComboBox::Text() const {
  if (!hwnd_) return {};
  const int length = GetWindowTextLengthA(hwnd_);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int got = GetWindowTextA(hwnd_, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void ComboBox::SetText(const std::string& ansiText) {
  if (hwnd_) SetWindowTextA(hwnd_, ansiText.c_str());
}

void ComboBox::AddItem(const std::string& ansiText) {
  if (hwnd_) SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansiText.c_str()));
}

int ComboBox::ItemCount() const {
  return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, CB_GETCOUNT, 0, 0)) : 0;
}

void ComboBox::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool ComboBox::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

}  // namespace forms
