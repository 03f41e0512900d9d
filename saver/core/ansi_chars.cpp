#include "ansi_chars.h"

namespace {

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

std::size_t AnsiCharLength(std::string_view text, std::size_t pos) {
    if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos]))) {
        return 2;
    }
    return 1;
}

std::size_t AnsiCharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += AnsiCharLength(text, pos)) {
        ++count;
    }
    return count;
}

std::size_t AnsiCharOffset(std::string_view text, std::size_t index) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < index && pos < text.size(); ++i) {
        pos += AnsiCharLength(text, pos);
    }
    return pos < text.size() ? pos : text.size();
}

std::string_view AnsiRight(std::string_view text, std::size_t n) {
    const std::size_t count = AnsiCharCount(text);
    if (n >= count) return text;
    return text.substr(AnsiCharOffset(text, count - n));
}

std::string_view AnsiLeft(std::string_view text, std::size_t n) {
    return text.substr(0, AnsiCharOffset(text, n));
}

bool EndsWithBackslash(std::string_view text) {
    return AnsiRight(text, 1) == "\\";
}

std::size_t LastBackslash(std::string_view text) {
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += AnsiCharLength(text, pos)) {
        if (text[pos] == '\\') found = pos;
    }
    return found;
}

std::string AsciiUpper(std::string_view text) {
    // Step by characters: the second byte of a double-byte character may lie in a-z.
    std::string out(text);
    for (std::size_t pos = 0; pos < out.size(); pos += AnsiCharLength(text, pos)) {
        char& c = out[pos];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}
