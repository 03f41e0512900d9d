// Decisions of the host's start-up, saver run and preview, as plain functions: what the
// Win32 side asks and acts on, with no windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvane {

// The argument text of a full process command line, as WinMain's lpCmdLine gets it: the
// program name (quoted or not) is removed, then the blanks and tabs behind it.
std::string_view ArgumentText(std::string_view fullCommandLine);

// What a start does once no other instance is running, by the command line's mode letter.
enum class StartMode {
  Preview,        // "P": preview form; no settings, no renderer test
  Settings,       // "C": settings dialog, then the end
  SaverHidden,    // "S": cursor hidden, saver run
  SaverVisible,   // empty command line: saver run, cursor left alone
  End,            // any other letter (after the renderer test)
};
StartMode ModeOf(std::string_view argumentText);
// Whether the settings are loaded and the renderer file is tested before the mode runs.
inline bool ChecksRenderer(StartMode mode) { return mode != StartMode::Preview; }

// The saver's mouse rule: the pointer is more than 30 pixels from the start point on
// both axes.
bool PointerLeftStart(int16_t startX, int16_t startY, int32_t x, int32_t y);

// The preview form's size in twips for a parent window rectangle: twips per pixel times
// the rectangle's side, rounded half-even to 16 bits. An axis whose twips do not fit in
// 16 bits gives nullopt, and the caller keeps 0 for it.
std::optional<int16_t> PreviewSideTwips(float twipsPerPixel, int32_t low, int32_t high);

}  // namespace halvane
