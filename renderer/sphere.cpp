// Generating the Moon's sphere: latitude bands of quad strips with their texture coordinates.
#include "sphere.h"

#include <cmath>

namespace halvane {

SphereMesh BuildSphere(std::int32_t n, float r, float cx, float cy, float cz) {
  const double pi = 3.14159265358979323846;
  SphereMesh mesh;

  // The size of the most negative count does not fit 32 bits; it stays negative and so
  // falls to the single point, like any other count below 4.
  if (n < 0 && n != INT32_MIN) n = -n;
  if (r < 0) r = -r;
  if (n < 4 || !(r > 0)) {
    mesh.singlePoint = true;
    mesh.vertices.push_back(SphereVertex{0.0f, 0.0f, cx, cy, cz});
    return mesh;
  }

  mesh.bands = n / 2;
  mesh.stripLength = 2 * (static_cast<std::int64_t>(n) + 1);
  mesh.vertices.reserve(static_cast<std::size_t>(mesh.bands * mesh.stripLength));

  const double rd = r;
  auto vertex = [&](float s, float t, float lat, float lon) {
    const float px = static_cast<float>(std::cos(static_cast<double>(lat)) * std::cos(static_cast<double>(lon)));
    const float py = static_cast<float>(std::sin(static_cast<double>(lat)));
    const float pz = static_cast<float>(std::cos(static_cast<double>(lat)) * std::sin(static_cast<double>(lon)));
    mesh.vertices.push_back(SphereVertex{s, t,
                                         static_cast<float>(cx + rd * px),
                                         static_cast<float>(cy + rd * py),
                                         static_cast<float>(cz + rd * pz)});
  };

  for (std::int64_t i = 0; i < mesh.bands; ++i) {
    const float lat0 = static_cast<float>(2.0 * static_cast<double>(i) * pi / n - pi / 2);
    const float lat1 = static_cast<float>(2.0 * static_cast<double>(i + 1) * pi / n - pi / 2);
    const float t0 = static_cast<float>(2.0 * static_cast<double>(i) / n);
    const float t1 = static_cast<float>(2.0 * static_cast<double>(i + 1) / n);
    for (std::int64_t j = 0; j <= n; ++j) {
      const float lon = static_cast<float>(2.0 * static_cast<double>(j) * pi / n);
      const float s = static_cast<float>(1.0 - static_cast<double>(j) / n);
      vertex(s, t1, lat1, lon);
      vertex(s, t0, lat0, lon);
    }
  }
  return mesh;
}

}  // namespace halvane
