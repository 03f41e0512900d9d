#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "core/command_line.h"
#include "core/number_text.h"

namespace {

struct SettingCase {
    const char* text;
    std::optional<int16_t> expected;
};

TEST(SettingNumber, ReadsLocaleNumbersRoundedDown) {
    const SettingCase cases[] = {
        {" 2", 2},          {"2.9", 2},       {"-1.5", -2},         {"abc", std::nullopt},
        {"40000", std::nullopt}, {"1e3", 1000}, {"  7  ", 7},       {"", std::nullopt},
        {"+3", 3},          {"2.", 2},        {".5", 0},            {"1,5", std::nullopt},
        {"\t4\t", 4},       {"32767", 32767}, {"32767.9", 32767},   {"-32768", -32768},
        {"-32768.1", std::nullopt}, {"32768", std::nullopt}, {"-0.5", -1}, {"1E-1", 0},
        {"1e", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt}, {"1 2", std::nullopt},
        {"1e400", std::nullopt}, {"1e-400", 0}, {"&H10", std::nullopt}, {"2x", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt}, {"0x10", std::nullopt},
    };
    for (const SettingCase& c : cases) {
        EXPECT_EQ(SettingNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ParseNumber, KeepsFractionsAndExponents) {
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_EQ(ParseNumber("-.25e1"), -2.5);
    EXPECT_EQ(ParseNumber("1.5E+2"), 150.0);
    EXPECT_EQ(ParseNumber("12345678901234567890"), 12345678901234567890.0);
}

struct HandleCase {
    const char* commandLine;
    int32_t expected;
};

TEST(PreviewParentHandle, ReadsTheNumberFromTheFourthCharacter) {
    const HandleCase cases[] = {
        {"/p 1234", 1234},   {"/p:1234", 1234},      {"/p &H1A", 26},        {"/p &h1a", 26},
        {"/p &O17", 15},     {"/p -5", -5},          {"/p 99999999999", 0},  {"/p abc", 0},
        {"/p 12abc", 12},    {"/p 1 2 3", 123},      {"/p", 0},              {"", 0},
        {"/p ", 0},          {"/p 2.5", 2},          {"/p 3.5", 4},          {"/p 1e3", 1000},
        {"/p 1e", 1},        {"/p 1.2.3", 1},        {"/p\t\t77", 77},        {"/p \t7\n8", 78},
        {"/p &H", 0},        {"/p &HFFFFFFFF", 0},   {"/p &H7FFFFFFF", 2147483647},
        {"/p -2147483648", -2147483648LL},           {"/p 2147483647.5", 0},
        {"/p &O9", 0},       {"/p &X12", 0},         {"/p +42", 42},         {"/p 1e999", 0},
        {"/P 65800", 65800},
    };
    for (const HandleCase& c : cases) {
        EXPECT_EQ(PreviewParentHandle(c.commandLine), c.expected) << '"' << c.commandLine << '"';
    }
}

TEST(PreviewParentHandle, CountsDoubleByteCharactersAsOne) {
    // "／p 1234" with a full-width slash (81 5E): the handle still starts at character 4.
    EXPECT_EQ(PreviewParentHandle("\x81\x5Ep 1234"), 1234);
}

TEST(LeadingNumber, HexDigitsAreNotBoundTo32Bits) {
    EXPECT_EQ(LeadingNumber("&HFFFFFFFF"), 4294967295.0);
    EXPECT_EQ(LeadingNumber("&o777"), 511.0);
    EXPECT_EQ(LeadingNumber("-1.5e1x"), -15.0);
    EXPECT_EQ(LeadingNumber(""), 0.0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenInteger) {
    const struct { double value; int32_t expected; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {7.0, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEvenToInt32(c.value), c.expected) << c.value;
    }
    EXPECT_EQ(RoundHalfEvenToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(RoundHalfEvenToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(RoundHalfEvenToInt32(-2147483648.5), -2147483648LL);  // even
    EXPECT_EQ(RoundHalfEvenToInt32(-2147483649.0), std::nullopt);
    EXPECT_EQ(RoundHalfEvenToInt32(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(RoundHalfEvenToInt32(std::numeric_limits<double>::infinity()), std::nullopt);

    EXPECT_EQ(RoundHalfEvenToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundHalfEvenToInt16(-32768.5), -32768);
    EXPECT_EQ(RoundHalfEvenToInt16(2280.0), 2280);
}

TEST(TryStoreInt16, FailingStoreKeepsTheOldValue) {
    int16_t target = 5;
    EXPECT_TRUE(TryStoreInt16(target, -32768));
    EXPECT_EQ(target, -32768);
    EXPECT_TRUE(TryStoreInt16(target, 32767));
    EXPECT_EQ(target, 32767);
    EXPECT_FALSE(TryStoreInt16(target, 32768));
    EXPECT_FALSE(TryStoreInt16(target, -32769));
    EXPECT_FALSE(TryStoreInt16(target, 1LL << 40));
    EXPECT_EQ(target, 32767);
}

TEST(NumberFormats, IniTextAndTwoHashPattern) {
    EXPECT_EQ(NumberText(1), " 1");
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-1), "-1");
    EXPECT_EQ(NumberText(-32768), "-32768");
    EXPECT_EQ(TwoHashFormat(0), "");
    EXPECT_EQ(TwoHashFormat(7), "7");
    EXPECT_EQ(TwoHashFormat(12), "12");
    EXPECT_EQ(TwoHashFormat(345), "345");
    EXPECT_EQ(TwoHashFormat(-5), "-5");
}

TEST(RepeatBoxNumber, RoundsHalfEvenAndKeepsValueOnOverflow) {
    const struct { const char* text; std::optional<int16_t> expected; } cases[] = {
        {"2.5", 2}, {"3.5", 4}, {"abc", 0}, {"", 0}, {"45", 45}, {"-1", -1}, {"7", 7},
        {"40000", std::nullopt}, {" 12 ", 12}, {"32767.4", 32767}, {"-32768.5", -32768},
        {"1,5", 0}, {"1e400", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RepeatBoxNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TextBeforeNul, StopsAtTheFirstNulOrTheEndOfTheBuffer) {
    const char withNul[] = {'a', 'b', '\0', 'c'};
    EXPECT_EQ(TextBeforeNul(withNul, sizeof withNul), "ab");
    const char full[] = {'x', 'y', 'z'};
    EXPECT_EQ(TextBeforeNul(full, sizeof full), "xyz");
}

}  // namespace
