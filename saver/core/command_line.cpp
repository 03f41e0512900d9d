#include "command_line.h"

#include "ansi_chars.h"
#include "number_text.h"

std::string ModeLetter(std::string_view commandLine) {
    const std::size_t start = AnsiCharOffset(commandLine, 1);
    if (start >= commandLine.size()) return std::string();
    return AsciiUpper(commandLine.substr(start, AnsiCharLength(commandLine, start)));
}

int32_t PreviewParentHandle(std::string_view commandLine) {
    const std::size_t start = AnsiCharOffset(commandLine, 3);
    const double number = LeadingNumber(commandLine.substr(start));
    return RoundHalfEvenToInt32(number).value_or(0);
}
