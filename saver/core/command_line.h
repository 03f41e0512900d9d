// The host's command line: the mode letter and the preview window handle.
// The command line is the text after the program name, in ANSI bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The second character, ASCII letters upper-cased ("/s" -> "S", "-c" -> "C");
// empty when the command line has fewer than two characters.
std::string ModeLetter(std::string_view commandLine);

// The preview parent window: the text from the fourth character on read with
// LeadingNumber, rounded half-even to 32 bits; 0 when there is no such text, no number
// or a number outside the 32-bit range.
int32_t PreviewParentHandle(std::string_view commandLine);
