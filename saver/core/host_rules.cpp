#include "core/host_rules.h"

#include "core/command_line.h"
#include "core/number_text.h"

namespace halvane {

std::string_view ArgumentText(std::string_view line) {
  size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    i = 1;
    while (i < line.size() && line[i] != '"') ++i;
    if (i < line.size()) ++i;  // the closing quote
  } else {
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return line.substr(i);
}

StartMode ModeOf(std::string_view argumentText) {
  const std::string letter = ModeLetter(argumentText);
  if (letter == "P") return StartMode::Preview;
  if (letter == "C") return StartMode::Settings;
  if (letter == "S") return StartMode::SaverHidden;
  if (argumentText.empty()) return StartMode::SaverVisible;
  return StartMode::End;
}

bool PointerLeftStart(int16_t startX, int16_t startY, int32_t x, int32_t y) {
  // 64-bit differences: no overflow whatever GetCursorPos reports.
  const int64_t dx = static_cast<int64_t>(startX) - x;
  const int64_t dy = static_cast<int64_t>(startY) - y;
  return (dx < 0 ? -dx : dx) > 30 && (dy < 0 ? -dy : dy) > 30;
}

std::optional<int16_t> PreviewSideTwips(float twipsPerPixel, int32_t low, int32_t high) {
  const double pixels = static_cast<double>(high) - static_cast<double>(low);
  return RoundHalfEvenToInt16(static_cast<double>(twipsPerPixel) * pixels);
}

}  // namespace halvane
