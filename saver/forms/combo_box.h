// ComboBox: an editable drop-down box (a system COMBOBOX with CBS_DROPDOWN) as a child
// of a form or picture box. Texts are ANSI bytes.
//
// Implements: position, closed height, font, text of the edit part, adding items, the
// enabled state. Does not implement: sorting, selection events.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class ComboBox {
 public:
  ComboBox() = default;
  ~ComboBox();
  ComboBox(const ComboBox&) = delete;
  ComboBox& operator=(const ComboBox&) = delete;

  // height is that of the closed box; the list drops listHeight pixels below it.
  bool Create(HWND parent, int x, int y, int width, int height, HFONT font,
              int listHeight = 160);
  HWND Handle() const { return hwnd_; }

  std::string Text() const;
  void SetText(const std::string& ansiText);
  void AddItem(const std::string& ansiText);
  int ItemCount() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace forms
