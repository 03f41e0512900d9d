// Windowless elements that a container (a form or a picture box) draws over its retained
// image each time it paints: labels, image elements holding a stored picture, and
// rectangle outlines. They have no window, so their container hit-tests them.
//
// Implements: label text (ANSI) with alignment, word wrap, a transparent or solid
// background, a fixed single border, a disabled look, auto-size to the text; an image
// element drawn at its picture's size; a one-pixel rectangle outline. Does not implement:
// mouse capture, focus, mnemonics (a label's text is shown as it is).
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class Picture;

// Draws text (ANSI) in rect with DrawTextA's format, in the font (null: the DC's own) over
// whatever is there: in the colour, or when not enabled in the disabled look of a label
// (grey text over a light shadow one pixel down and right). The DC's font, background
// mode and text colour are put back.
void DrawLabelText(HDC dc, const std::string& text, RECT rect, UINT format, HFONT font,
                   COLORREF colour, bool enabled);

struct Label {
  RECT rect = {};             // in the container's client pixels
  std::string text;           // ANSI bytes
  HFONT font = nullptr;       // we don't own it
  COLORREF colour = RGB(0, 0, 0);
  UINT align = DT_LEFT;       // DT_LEFT, DT_CENTER or DT_RIGHT
  bool wordWrap = true;
  bool transparent = true;
  COLORREF backColour = RGB(255, 255, 255);
  bool border = false;        // fixed single
  bool enabled = true;
  bool visible = true;

  void Draw(HDC dc) const;
  // Sets the width and height to those of the text in the label's font.
  void AutoSize();
  bool Contains(int x, int y) const;
};

struct ImageElement {
  int left = 0, top = 0;
  const Picture* picture = nullptr;  // we don't own it; the element takes its size
  bool visible = true;

  void Draw(HDC dc) const;
  bool Contains(int x, int y) const;
};

struct ShapeOutline {
  RECT rect = {};
  COLORREF colour = RGB(0, 0, 0);
  bool visible = true;

  void Draw(HDC dc) const;
};

}  // namespace forms
