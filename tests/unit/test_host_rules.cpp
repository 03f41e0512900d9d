// The host's start-up, saver and preview decisions.
#include <gtest/gtest.h>

#include <string>

#include "core/host_rules.h"

using halvane::StartMode;

TEST(HostArgumentText, DropsTheProgramNameAndTheBlanksBehindIt) {
  struct Case {
    const char* line;
    const char* args;
  } cases[] = {
      {"\"C:\\Saver Folder\\Halvane.scr\" /s", "/s"},
      {"\"C:\\Saver Folder\\Halvane.scr\"   \t/p 1234", "/p 1234"},
      {"C:\\HALVANE~1\\HALVANE.SCR /c:42", "/c:42"},
      {"Halvane.scr", ""},
      {"\"Halvane.scr\"", ""},
      {"\"unclosed quote /s", ""},
      {"\"a\"/s", "/s"},  // a quoted name needs no blank behind it
      {"", ""},
      {"Halvane.scr /s trailing  ", "/s trailing  "},
  };
  for (const auto& c : cases) EXPECT_EQ(halvane::ArgumentText(c.line), c.args) << c.line;
}

TEST(HostStartMode, ByTheSecondCharacter) {
  struct Case {
    std::string args;
    StartMode mode;
  } cases[] = {
      {"/p 1234", StartMode::Preview},
      {"-P", StartMode::Preview},
      {"/c", StartMode::Settings},
      {"xC:99", StartMode::Settings},
      {"/s", StartMode::SaverHidden},
      {"-S", StartMode::SaverHidden},
      {"ss", StartMode::SaverHidden},
      {"", StartMode::SaverVisible},
      {"s", StartMode::End},  // one character: no mode letter
      {"/", StartMode::End},
      {"/a", StartMode::End},
      {" /s", StartMode::End},  // the second character is the slash
      {std::string(5000, 'x'), StartMode::End},
      {"/s" + std::string(5000, 'x'), StartMode::SaverHidden},
  };
  for (const auto& c : cases) EXPECT_EQ(halvane::ModeOf(c.args), c.mode) << c.args.substr(0, 20);
  EXPECT_FALSE(halvane::ChecksRenderer(StartMode::Preview));
  EXPECT_TRUE(halvane::ChecksRenderer(StartMode::SaverVisible));
  EXPECT_TRUE(halvane::ChecksRenderer(StartMode::End));
}

TEST(HostMouseRule, BothAxesStrictlyOver30) {
  struct Case {
    int16_t sx, sy;
    int32_t x, y;
    bool ends;
  } cases[] = {
      {640, 400, 671, 431, true},
      {640, 400, 609, 369, true},
      {640, 400, 670, 430, false},   // exactly 30 on both
      {640, 400, 671, 430, false},
      {640, 400, 840, 400, false},   // 200 on one axis only
      {640, 400, 640, 1400, false},
      {0, 0, 0, 0, false},
      {100, 100, 0, 0, true},        // a failed read counts as (0, 0)
      {-32768, -32768, 2147483647, 2147483647, true},  // no overflow
      {32767, 32767, -2147483647 - 1, -2147483647 - 1, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(halvane::PointerLeftStart(c.sx, c.sy, c.x, c.y), c.ends)
        << c.sx << "," << c.sy << " -> " << c.x << "," << c.y;
}

TEST(HostPreviewSize, TwipsOfTheParentRectangle) {
  EXPECT_EQ(halvane::PreviewSideTwips(15.0f, 100, 252), 2280);  // 152 px at 96 dpi
  EXPECT_EQ(halvane::PreviewSideTwips(15.0f, 100, 212), 1680);
  EXPECT_EQ(halvane::PreviewSideTwips(12.0f, 0, 152), 1824);    // 120 dpi
  EXPECT_EQ(halvane::PreviewSideTwips(12.0f, 0, 112), 1344);
  EXPECT_EQ(halvane::PreviewSideTwips(15.0f, 0, 0), 0);
  EXPECT_EQ(halvane::PreviewSideTwips(15.0f, 0, 2184), 32760);  // still fits
  EXPECT_FALSE(halvane::PreviewSideTwips(15.0f, 0, 2185));      // 32775: that axis keeps 0
  EXPECT_FALSE(halvane::PreviewSideTwips(15.0f, -2147483647 - 1, 2147483647));
  EXPECT_EQ(halvane::PreviewSideTwips(15.0f, 10, 0), -150);     // a turned-round rectangle
}
