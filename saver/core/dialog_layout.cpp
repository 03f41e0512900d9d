// The settings dialog's placement and shading arithmetic.
#include "core/dialog_layout.h"

#include <cmath>

#include "core/number_text.h"

namespace halvane {

namespace {

long long RoundHalfEven(double v) {
  const double r = std::nearbyint(v);  // the default rounding mode: half to even
  return static_cast<long long>(r);
}

int NearestPixel(double twips, double twipsPerPixel) {
  return static_cast<int>(std::floor(twips / twipsPerPixel + 0.5));
}

}  // namespace

ScreenPoint DialogPosition(int screenWidth, int screenHeight, int windowWidth,
                           int windowHeight, double twipsPerPixel) {
  const long long freeX = RoundHalfEven((screenWidth - windowWidth) * twipsPerPixel);
  const long long freeY = RoundHalfEven((screenHeight - windowHeight) * twipsPerPixel);
  // Integer division truncates toward zero, also for a window larger than the screen.
  return {NearestPixel(static_cast<double>(freeX / 2), twipsPerPixel),
          NearestPixel(static_cast<double>(freeY / 3), twipsPerPixel)};
}

int ShadeLastLine(double innerHeight) {
  auto r = RoundHalfEvenToInt32(innerHeight);
  return r ? *r : -1;
}

int ShadeLevel(int y, double innerHeight) {
  if (!(innerHeight > 0)) return 0;
  const double c = innerHeight / 3.142;
  return static_cast<int>(RoundHalfEven(std::fabs(std::sin(y / c) * 220.0)));
}

}  // namespace halvane
