// When the pointer ends the renderer: more than 30 pixels from its start point on both axes
// at once. Windows-free, so the rule can be checked without a screen.
#pragma once

#include <cstdint>

namespace halvane {

constexpr std::int64_t kPointerEndDistance = 30;

inline bool PointerEndsRun(std::int32_t startX, std::int32_t startY, std::int32_t x, std::int32_t y) {
  const std::int64_t dx = static_cast<std::int64_t>(startX) - x;
  const std::int64_t dy = static_cast<std::int64_t>(startY) - y;
  return (dx < 0 ? -dx : dx) > kPointerEndDistance && (dy < 0 ? -dy : dy) > kPointerEndDistance;
}

}  // namespace halvane
