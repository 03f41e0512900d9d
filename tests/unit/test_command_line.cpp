#include <gtest/gtest.h>

#include <string>

#include "core/ansi_chars.h"
#include "core/command_line.h"

namespace {

TEST(ModeLetter, SecondCharacterUpperCased) {
    const struct { const char* commandLine; const char* expected; } cases[] = {
        {"", ""},        {"s", ""},        {"/s", "S"},       {"-S", "S"},
        {"xc", "C"},     {"/p 1234", "P"}, {"/c:1234", "C"},  {"ss", "S"},
        {" /s", "/"},    {"/1", "1"},      {"/\xB1", "\xB1"},  // half-width katakana
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModeLetter(c.commandLine), c.expected) << '"' << c.commandLine << '"';
    }
}

TEST(ModeLetter, DoubleByteCharactersCountAsOne) {
    // A full-width slash (81 5E) in front: the letter is the next character.
    EXPECT_EQ(ModeLetter("\x81\x5Es"), "S");
    // A double-byte second character is returned whole and is no mode letter.
    EXPECT_EQ(ModeLetter("/\x82\x93"), "\x82\x93");
    // A lone lead byte at the end is a character of its own.
    EXPECT_EQ(ModeLetter("/\x82"), "\x82");
}

TEST(AnsiChars, TrailBytesAreNeverBackslashesOrLetters) {
    // "表" is 95 5C: its second byte is the backslash byte.
    EXPECT_FALSE(EndsWithBackslash("C:\\\x95\x5C"));
    EXPECT_TRUE(EndsWithBackslash("C:\\\x95\x5C\\"));
    EXPECT_EQ(LastBackslash("C:\\\x95\x5C" "a"), 2u);
    EXPECT_EQ(LastBackslash("nothing"), std::string::npos);
    // "ャ" is 83 61: its second byte is 'a' and must not be upper-cased.
    EXPECT_EQ(AsciiUpper("a\x83\x61" "b"), "A\x83\x61" "B");
    EXPECT_EQ(AnsiRight("x\x95\x5Cyz", 3), "\x95\x5Cyz");
    EXPECT_EQ(AnsiLeft("\x95\x5C\x95\x5C", 1), "\x95\x5C");
    EXPECT_EQ(AnsiCharCount("a\x95\x5C"), 2u);
}

}  // namespace
