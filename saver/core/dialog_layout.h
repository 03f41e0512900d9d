// The settings dialog's arithmetic, free of Windows: where the dialog is placed on the
// screen and the grey level of each line of its shaded backgrounds.
#pragma once

namespace halvane {

struct ScreenPoint {
  int x, y;
};

// The window's top-left corner: centred across, at one third of the free height. The
// differences are taken in twips, each rounded to a whole number and divided with the
// fraction dropped, and the result is turned back into whole pixels (to the nearest).
ScreenPoint DialogPosition(int screenWidth, int screenHeight, int windowWidth,
                           int windowHeight, double twipsPerPixel = 15.0);

// The shading of a background innerHeight pixels high: the last line drawn (innerHeight
// rounded, half to even) and the level d of line y, |sin(y / (h / 3.142)) x 220| rounded
// half to even, 0 at the top and bottom, 220 in the middle.
int ShadeLastLine(double innerHeight);
int ShadeLevel(int y, double innerHeight);

}  // namespace halvane
