// The renderer's sphere, spin and small decisions: vertex layout and rounding, degenerate
// and odd segment counts, the single-precision spin sum, the pointer end rule and the cut of
// the program's folder in a double-byte code page.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "end_rule.h"
#include "program_folder.h"
#include "sphere.h"
#include "spin.h"

using namespace halvane;

namespace {

const double kPi = 3.14159265358979323846;

double LatitudeDegrees(const SphereVertex& v, float r) {
  return std::asin(std::max(-1.0, std::min(1.0, v.y / static_cast<double>(r)))) * 180.0 / kPi;
}

}  // namespace

TEST(RendererSphere, MoonSphereHas24BandsOf49Pairs) {
  const SphereMesh m = BuildSphere(48, 10.0f, 0, 0, 0);
  EXPECT_FALSE(m.singlePoint);
  EXPECT_EQ(m.bands, 24);
  EXPECT_EQ(m.stripLength, 98);
  EXPECT_EQ(m.vertices.size(), 2352u);
}

TEST(RendererSphere, BandLatitudesAndTextureRows) {
  const SphereMesh m = BuildSphere(48, 10.0f, 0, 0, 0);
  for (int i = 0; i < m.bands; ++i) {
    const SphereVertex& upper = m.vertices[i * m.stripLength];
    const SphereVertex& lower = m.vertices[i * m.stripLength + 1];
    EXPECT_NEAR(LatitudeDegrees(upper, 10), -90.0 + 7.5 * (i + 1), 1e-3) << i;
    EXPECT_NEAR(LatitudeDegrees(lower, 10), -90.0 + 7.5 * i, 1e-3) << i;
    EXPECT_EQ(upper.t, static_cast<float>(2.0 * (i + 1) / 48)) << i;
    EXPECT_EQ(lower.t, static_cast<float>(2.0 * i / 48)) << i;
  }
  EXPECT_EQ(m.vertices.front().t, static_cast<float>(2.0 / 48));
  EXPECT_EQ(m.vertices[1].t, 0.0f);                 // south pole row
  EXPECT_EQ(m.vertices[23 * 98].t, 1.0f);           // north pole row
}

TEST(RendererSphere, SeamCarriesBothTextureEdges) {
  const SphereMesh m = BuildSphere(48, 10.0f, 0, 0, 0);
  const int band = 12;  // just above the equator
  const SphereVertex& first = m.vertices[band * 98];
  const SphereVertex& last = m.vertices[band * 98 + 96];
  EXPECT_EQ(first.s, 1.0f);
  EXPECT_EQ(last.s, 0.0f);
  EXPECT_NEAR(first.x, last.x, 1e-5);
  EXPECT_NEAR(first.y, last.y, 1e-6);
  EXPECT_NEAR(first.z, last.z, 1e-5);
  // s = 1 - j/n along the strip, longitude 90 degrees at j = 12 (facing +z).
  const SphereVertex& quarter = m.vertices[band * 98 + 24];
  EXPECT_EQ(quarter.s, 0.75f);
  EXPECT_NEAR(quarter.x, 0.0, 1e-5);
  EXPECT_GT(quarter.z, 9.0f);
}

TEST(RendererSphere, ValuesAreRoundedStepByStep) {
  // The direction products are single values before the radius and the centre apply.
  const float cx = 1.5f, cy = -2.25f, cz = 100.0f, r = 3.0f;
  const SphereMesh m = BuildSphere(8, r, cx, cy, cz);
  const int i = 1, j = 3;
  const float lat1 = static_cast<float>(2.0 * (i + 1) * kPi / 8 - kPi / 2);
  const float lon = static_cast<float>(2.0 * j * kPi / 8);
  const float px = static_cast<float>(std::cos(double(lat1)) * std::cos(double(lon)));
  const float py = static_cast<float>(std::sin(double(lat1)));
  const float pz = static_cast<float>(std::cos(double(lat1)) * std::sin(double(lon)));
  const SphereVertex& v = m.vertices[i * m.stripLength + 2 * j];
  EXPECT_EQ(v.x, static_cast<float>(cx + double(r) * px));
  EXPECT_EQ(v.y, static_cast<float>(cy + double(r) * py));
  EXPECT_EQ(v.z, static_cast<float>(cz + double(r) * pz));
  EXPECT_EQ(v.s, static_cast<float>(1.0 - 3.0 / 8));
}

TEST(RendererSphere, DegenerateSpheresAreOnePointAtTheCentre) {
  struct Case { std::int32_t n; float r; };
  const Case cases[] = {{3, 10}, {0, 10}, {-3, 10}, {48, 0}, {48, -0.0f}, {48, NAN}, {INT32_MIN, 10}};
  for (const Case& c : cases) {
    const SphereMesh m = BuildSphere(c.n, c.r, 1, 2, 3);
    EXPECT_TRUE(m.singlePoint) << c.n << " " << c.r;
    ASSERT_EQ(m.vertices.size(), 1u);
    EXPECT_EQ(m.vertices[0].x, 1);
    EXPECT_EQ(m.vertices[0].y, 2);
    EXPECT_EQ(m.vertices[0].z, 3);
  }
}

TEST(RendererSphere, OddCountLeavesTheTopOpen) {
  const SphereMesh m = BuildSphere(5, 10.0f, 0, 0, 0);
  EXPECT_EQ(m.bands, 2);
  EXPECT_EQ(m.vertices.size(), 2u * 12u);
  double top = -90;
  for (const SphereVertex& v : m.vertices) top = std::max(top, LatitudeDegrees(v, 10));
  EXPECT_NEAR(top, 54.0, 1e-3);
}

TEST(RendererSphere, NegativeCountAndRadiusActAsTheirSize) {
  const SphereMesh a = BuildSphere(-48, -10.0f, 0, 0, 0);
  const SphereMesh b = BuildSphere(48, 10.0f, 0, 0, 0);
  ASSERT_EQ(a.vertices.size(), b.vertices.size());
  for (std::size_t k = 0; k < a.vertices.size(); ++k) {
    EXPECT_EQ(a.vertices[k].x, b.vertices[k].x);
    EXPECT_EQ(a.vertices[k].y, b.vertices[k].y);
    EXPECT_EQ(a.vertices[k].s, b.vertices[k].s);
  }
}

TEST(RendererSpin, SumIsSinglePrecisionAndStopsAt2To21) {
  EXPECT_EQ(kSpinStep, 0.1f);
  float angle = 0.0f;
  for (int k = 0; k < 10; ++k) angle = AdvanceSpin(angle, kSpinStep);
  float expected = 0.0f;
  for (int k = 0; k < 10; ++k) expected = expected + 0.1f;
  EXPECT_EQ(angle, expected);
  EXPECT_NE(static_cast<double>(angle), 1.0);  // single rounding shows already

  angle = 0.0f;
  std::int64_t frames = 0;
  while (true) {
    const float next = AdvanceSpin(angle, kSpinStep);
    if (next == angle) break;
    angle = next;
    ++frames;
  }
  EXPECT_EQ(angle, 2097152.0f);
  EXPECT_EQ(frames, 18073720);
}

TEST(RendererEndRule, BothAxesMustPassThirtyPixels) {
  struct Case { std::int32_t dx, dy; bool ends; };
  const Case cases[] = {{200, 0, false}, {0, 200, false}, {30, 30, false}, {31, 30, false},
                        {31, 31, true}, {-31, 31, true}, {-31, -200, true}, {0, 0, false}};
  for (const Case& c : cases)
    EXPECT_EQ(PointerEndsRun(640, 400, 640 + c.dx, 400 + c.dy), c.ends) << c.dx << "," << c.dy;
  EXPECT_TRUE(PointerEndsRun(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));  // no overflow
}

TEST(RendererFolder, CutsAfterTheLastSeparatorOutsideTwoByteCharacters) {
  const LeadBytePredicate cp932 = [](unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  };
  struct Case { const char* path; const char* folder; };
  const Case cases[] = {
      {"C:\\Saver\\Halvane.dll", "C:\\Saver\\"},
      {"C:Halvane.dll", "C:"},
      {"Halvane.dll", ""},
      {"C:\\\x95\x5C\\Halvane.dll", "C:\\\x95\x5C\\"},      // folder "表"
      {"C:\\\x95\x5C" "Halvane.dll", "C:\\"},               // file "表Halvane.dll"
      {"C:\\a\\\x81", "C:\\a\\"},                           // a lone lead byte at the end
  };
  for (const Case& c : cases) EXPECT_EQ(FolderOfPath(c.path, cp932), c.folder) << c.path;
  EXPECT_EQ(FolderOfPath("C:\\\x95\x5C" "Halvane.dll", nullptr), "C:\\\x95\x5C");  // single-byte page
}
