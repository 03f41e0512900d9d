#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the unsigned decimal literal at the start of text (digits, one point,
// exponent with at least one digit), or 0 when it does not start with one.
std::size_t DecimalLiteralLength(std::string_view text) {
    std::size_t pos = 0;
    std::size_t digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) { ++pos; ++digits; }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) { ++pos; ++digits; }
    }
    if (digits == 0) return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t e = pos + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && IsDigit(text[e])) {
            while (e < text.size() && IsDigit(text[e])) ++e;
            pos = e;
        }
    }
    return pos;
}

// Value of an unsigned decimal literal as DecimalLiteralLength accepts it. Too large:
// infinity; too small to tell from zero: 0.
double DecimalValue(std::string_view literal) {
    double value = 0.0;
    const char* first = literal.data();
    const char* last = first + literal.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc()) return value;
    // Out of range: underflow when the exponent is negative enough to outweigh the
    // digits in front of the point, overflow otherwise.
    long long scale = 0;
    std::size_t pos = 0;
    bool seenNonZero = false;
    while (pos < literal.size() && IsDigit(literal[pos])) {
        if (literal[pos] != '0') seenNonZero = true;
        if (seenNonZero) ++scale;
        ++pos;
    }
    if (pos < literal.size() && literal[pos] == '.') {
        ++pos;
        while (!seenNonZero && pos < literal.size() && literal[pos] == '0') { --scale; ++pos; }
        while (pos < literal.size() && IsDigit(literal[pos])) ++pos;
    }
    bool negativeExponent = false;
    long long exponent = 0;
    if (pos < literal.size()) {
        ++pos;  // e or E
        if (literal[pos] == '+' || literal[pos] == '-') negativeExponent = literal[pos++] == '-';
        for (; pos < literal.size(); ++pos) {
            if (exponent < 100000000) exponent = exponent * 10 + (literal[pos] - '0');
        }
    }
    scale += negativeExponent ? -exponent : exponent;
    return scale < 0 ? 0.0 : std::numeric_limits<double>::infinity();
}

double DigitsValue(std::string_view text, int base, std::size_t& length) {
    double value = 0.0;
    length = 0;
    for (char c : text) {
        int digit;
        if (IsDigit(c)) {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            break;
        }
        if (digit >= base) break;
        value = value * base + digit;
        ++length;
    }
    return value;
}

std::optional<double> RoundHalfEven(double value, double low, double high) {
    if (std::isnan(value)) return std::nullopt;
    double rounded = std::floor(value);
    const double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
    if (!(rounded >= low && rounded <= high)) return std::nullopt;
    return rounded;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    std::string_view body = text.substr(begin, end - begin);

    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    const std::size_t length = DecimalLiteralLength(body);
    if (length == 0 || length != body.size()) return std::nullopt;
    const double value = DecimalValue(body);
    if (std::isinf(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<int16_t> SettingNumber(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) return std::nullopt;
    const double floored = std::floor(*value);
    if (!(floored >= -32768.0 && floored <= 32767.0)) return std::nullopt;
    return static_cast<int16_t>(floored);
}

double LeadingNumber(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') packed += c;
    }
    std::string_view rest = packed;

    if (rest.size() >= 2 && rest[0] == '&') {
        const char radix = rest[1];
        int base = 0;
        if (radix == 'H' || radix == 'h') base = 16;
        if (radix == 'O' || radix == 'o') base = 8;
        if (base != 0) {
            std::size_t length = 0;
            return DigitsValue(rest.substr(2), base, length);
        }
        return 0.0;
    }

    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    const std::size_t length = DecimalLiteralLength(rest);
    if (length == 0) return 0.0;
    const double value = DecimalValue(rest.substr(0, length));
    return negative ? -value : value;
}

std::optional<int32_t> RoundHalfEvenToInt32(double value) {
    const std::optional<double> rounded = RoundHalfEven(value, -2147483648.0, 2147483647.0);
    if (!rounded) return std::nullopt;
    return static_cast<int32_t>(*rounded);
}

std::optional<int16_t> RoundHalfEvenToInt16(double value) {
    const std::optional<double> rounded = RoundHalfEven(value, -32768.0, 32767.0);
    if (!rounded) return std::nullopt;
    return static_cast<int16_t>(*rounded);
}

bool TryStoreInt16(int16_t& target, long long value) {
    if (value < -32768 || value > 32767) return false;
    target = static_cast<int16_t>(value);
    return true;
}

std::string NumberText(long long value) {
    std::string digits = std::to_string(value);
    return value < 0 ? digits : " " + digits;
}

std::string TwoHashFormat(long long value) {
    return value == 0 ? std::string() : std::to_string(value);
}

std::optional<int16_t> RepeatBoxNumber(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) return int16_t{0};
    return RoundHalfEvenToInt16(*value);
}

std::string TextBeforeNul(const char* buffer, std::size_t size) {
    std::size_t length = 0;
    while (length < size && buffer[length] != '\0') ++length;
    return std::string(buffer, length);
}
