// The Moon's sphere as plain numbers: quad strips of textured vertices from the south pole
// upward, or a single point when the sphere is degenerate. Windows-free; the display list
// compiler in moon_scene.cpp replays it into GL.
#pragma once

#include <cstdint>
#include <vector>

namespace halvane {

struct SphereVertex {
  float s, t;     // texture coordinates
  float x, y, z;  // position
};

struct SphereMesh {
  bool singlePoint = false;  // true: vertices holds one point, drawn as GL_POINTS
  std::int64_t bands = 0;        // quad strips, each of stripLength vertices, one after another
  std::int64_t stripLength = 0;  // 2 (n + 1): upper then lower vertex for each longitude step
  std::vector<SphereVertex> vertices;
};

// A sphere of n segments around the equator and n div 2 bands, radius r, centre (cx, cy, cz).
// Negative n or r count as their size; n < 4 or r not above 0 gives the single centre point.
// Angles, the three direction products and every output value are rounded to single
// precision; t runs from 0 at the south pole, s from 1 at longitude 0 down to 0 at 360.
SphereMesh BuildSphere(std::int32_t n, float r, float cx, float cy, float cz);

}  // namespace halvane
