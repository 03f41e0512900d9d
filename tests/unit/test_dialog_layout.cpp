// The settings dialog's placement rounding and the shading levels.
#include "core/dialog_layout.h"

#include <gtest/gtest.h>

using namespace halvane;

TEST(DialogLayout, PlacementRoundsInTwips) {
  struct Row {
    int screenW, screenH, windowW, windowH, left, top;
  };
  const Row rows[] = {
      {1280, 800, 485, 272, 397, 176},  // free 795 x 528 pixels
      {1024, 768, 485, 238, 269, 177},  // 530 / 3 = 176.67: the twips step rounds up
      {1024, 768, 485, 239, 269, 176},  // 529 / 3 = 176.33
      {400, 200, 407, 209, -3, -3},     // larger than the screen: toward zero, then nearest
  };
  for (const Row& r : rows) {
    ScreenPoint p = DialogPosition(r.screenW, r.screenH, r.windowW, r.windowH);
    EXPECT_EQ(p.x, r.left) << r.screenW << "x" << r.screenH;
    EXPECT_EQ(p.y, r.top) << r.screenW << "x" << r.screenH;
  }
}

TEST(DialogLayout, ShadingRunsFromDarkThroughLightBackToDark) {
  EXPECT_EQ(ShadeLastLine(243), 243);
  EXPECT_EQ(ShadeLastLine(165.5), 166);  // half to even
  // The form's 243 lines and the panel's 165.
  EXPECT_EQ(ShadeLevel(0, 243), 0);
  EXPECT_EQ(ShadeLevel(121, 243), 220);
  EXPECT_EQ(ShadeLevel(243, 243), 0);
  EXPECT_EQ(ShadeLevel(0, 165), 0);
  EXPECT_EQ(ShadeLevel(82, 165), 220);
  EXPECT_EQ(ShadeLevel(165, 165), 0);
  EXPECT_EQ(ShadeLevel(40, 165), 152);  // sin(40 * 3.142 / 165) * 220 = 151.83
  EXPECT_EQ(ShadeLevel(5, 0), 0);
}
