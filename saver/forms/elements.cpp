#include "forms/elements.h"

#include "forms/gdi.h"
#include "forms/picture.h"

namespace forms {

void DrawLabelText(HDC dc, const std::string& text, RECT rect, UINT format, HFONT font,
                   COLORREF colour, bool enabled) {
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  const int oldBk = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = GetTextColor(dc);
  if (enabled) {
    SetTextColor(dc, colour);
    DrawTextA(dc, text.c_str(), -1, &rect, format);
  } else {
    RECT shadow = rect;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextA(dc, text.c_str(), -1, &shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), -1, &rect, format);
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldBk);
  if (oldFont) SelectObject(dc, oldFont);
}

void Label::Draw(HDC dc) const {
  if (!dc || !visible) return;
  RECT r = rect;
  if (!transparent) {
    SolidBrush brush(backColour);
    FillRect(dc, &r, brush.Get());
  }
  if (border) {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  }
  if (text.empty()) return;
  const UINT format = align | DT_NOPREFIX | DT_TOP | (wordWrap ? DT_WORDBREAK | DT_EDITCONTROL : 0);
  DrawLabelText(dc, text, r, format, font, colour, enabled);
}

void Label::AutoSize() {
  ScreenDC screen;
  if (!screen.Get()) return;
  HGDIOBJ oldFont = font ? SelectObject(screen.Get(), font) : nullptr;
  RECT r = {0, 0, 0, 0};
  DrawTextA(screen.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  if (oldFont) SelectObject(screen.Get(), oldFont);
  rect.right = rect.left + (r.right - r.left);
  rect.bottom = rect.top + (r.bottom - r.top);
}

bool Label::Contains(int x, int y) const {
  return visible && x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void ImageElement::Draw(HDC dc) const {
  if (visible && picture) picture->Draw(dc, left, top);
}

bool ImageElement::Contains(int x, int y) const {
  return visible && picture && x >= left && x < left + picture->Width() && y >= top &&
         y < top + picture->Height();
}

void ShapeOutline::Draw(HDC dc) const {
  if (!dc || !visible) return;
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  if (!pen) return;
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

}  // namespace forms
