// Number and text rules of the host: how INI values, the repeat box and the preview
// handle are read as numbers, how numbers are written back as text, and the 16-bit
// stores that fail and keep their old value.
//
// Numbers are read with '.' as the decimal point and no digit grouping, as on the
// Japanese system the host is made for ("1,5" is not a number). Nothing here depends on
// the C locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A whole text read as a number: blanks (space, tab) around it allowed, an optional
// sign, digits with at most one decimal point ("2.", ".5"), an optional exponent
// ("1e3", "1E-2"). Anything else, an empty text, or a value too large for a double
// gives nullopt.
std::optional<double> ParseNumber(std::string_view text);

// An INI value as a 16-bit setting: ParseNumber, rounded down (2.9 -> 2, -1.5 -> -2);
// nullopt when not a number or outside -32768..32767.
std::optional<int16_t> SettingNumber(std::string_view text);

// The preview-handle reading: every blank, tab and line feed removed, then the longest
// leading part that forms a number (sign, digits, one decimal point, exponent) is taken;
// a leading &H or &O reads the hexadecimal or octal digits behind it. 0 when there is no
// such part.
double LeadingNumber(std::string_view text);

// Nearest integer, exact halves to the even one; nullopt for NaN and out of range.
std::optional<int32_t> RoundHalfEvenToInt32(double value);
std::optional<int16_t> RoundHalfEvenToInt16(double value);

// Stores value into target when it fits in 16 bits and returns true; otherwise leaves
// target as it was and returns false.
bool TryStoreInt16(int16_t& target, long long value);

// A number as the INI file gets it: one blank before a number that is not negative
// (" 1", " 0"), a minus sign before a negative one ("-1").
std::string NumberText(long long value);

// The "##" pattern: digits without leading zeros, empty text for 0 ("12", "-5", "").
std::string TwoHashFormat(long long value);

// The repeat box on confirm: numeric text (ParseNumber) rounded half-even; 0 when the
// text is not numeric (empty included); nullopt when the rounded number does not fit in
// 16 bits, so that the caller keeps the value it has.
std::optional<int16_t> RepeatBoxNumber(std::string_view text);

// The text in a fixed buffer up to, not including, its first NUL; the whole buffer when
// it holds none. Never reads past size.
std::string TextBeforeNul(const char* buffer, std::size_t size);
