// Character stepping in the host's ANSI text (code page 932, Shift-JIS).
//
// Paths, INI values and the command line travel as ANSI bytes. Where the host cuts or
// inspects text by characters (the last three characters of a file name, a trailing
// backslash, the second character of the command line) it must step over double-byte
// characters whole: the second byte of a character such as "表" (95 5C) is 0x5C, the
// backslash byte, and must never be taken for one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes taken by the character that starts at text[pos]: 2 for a lead byte (81-9F,
// E0-FC) that has a byte behind it, otherwise 1. pos must be inside the text.
std::size_t AnsiCharLength(std::string_view text, std::size_t pos);

// Number of characters in the text.
std::size_t AnsiCharCount(std::string_view text);

// Byte offset of character number index (0-based); text.size() when index is at or
// past the end.
std::size_t AnsiCharOffset(std::string_view text, std::size_t index);

// The last n characters (all of the text when it is shorter).
std::string_view AnsiRight(std::string_view text, std::size_t n);

// The first n characters (all of the text when it is shorter).
std::string_view AnsiLeft(std::string_view text, std::size_t n);

// True when the last character is a single-byte backslash.
bool EndsWithBackslash(std::string_view text);

// Byte offset of the last single-byte backslash, or std::string_view::npos.
std::size_t LastBackslash(std::string_view text);

// ASCII letters a-z upper-cased; every other byte, double-byte characters included,
// left as it is.
std::string AsciiUpper(std::string_view text);
