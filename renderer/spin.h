// The Moon's turn: a single-precision angle in degrees that grows by a fixed step per frame
// and is never brought back into 0..360. Windows-free.
#pragma once

namespace halvane {

// The single-precision value nearest 0.1: degrees turned per frame.
constexpr float kSpinStep = 0.1f;

// One frame's turn, the sum rounded to single precision. At 2^21 degrees the step is below
// half a unit in the last place and the angle stops changing.
inline float AdvanceSpin(float angle, float step) {
  const float sum = angle + step;
  return sum;
}

}  // namespace halvane
