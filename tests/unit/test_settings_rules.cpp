#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "core/settings_rules.h"

namespace {

// One row: what the three keys hold (nullptr: key missing), which paths open, and the
// record that the rules must give from a fresh (all zero) record.
struct IniCase {
    const char* name;
    const char* kind;
    const char* repeat;
    const char* file;
    std::set<std::string> existing;
    SaverSettingsRecord expected;
};

SaverSettingsRecord Load(const IniCase& c, std::set<std::string>* tested = nullptr) {
    std::map<std::string, std::string> ini;
    if (c.kind) ini[kIniKindKey] = c.kind;
    if (c.repeat) ini[kIniRepeatKey] = c.repeat;
    if (c.file) ini[kIniFileKey] = c.file;
    SaverSettingsRecord settings;
    ApplySettingsRules(
        settings,
        [&](const char* key) {
            const auto found = ini.find(key);
            return found == ini.end() ? std::string() : found->second;
        },
        [&](const std::string& path) {
            if (tested) tested->insert(path);
            return c.existing.count(PathForFileTest(path)) != 0;
        });
    return settings;
}

TEST(SettingsRules, TableOfIniContents) {
    const IniCase cases[] = {
        {"no file", nullptr, nullptr, nullptr, {}, {0, 0, ""}},
        {"file source, file missing", "2", "0", "C:\\m.mp3", {}, {0, 0, ""}},
        {"file source, file there", "2", "0", "C:\\m.mp3", {"C:\\m.mp3"}, {2, 0, "C:\\m.mp3"}},
        {"CD source, file missing", "1", "5", "C:\\m.mp3", {}, {1, 5, ""}},
        {"CD source, no file key", "1", "5", nullptr, {}, {1, 5, ""}},
        {"file source, empty file", "2", "3", "", {"" }, {0, 3, ""}},
        {"kind with blank", " 2", nullptr, "C:\\a.wav", {"C:\\a.wav"}, {2, 0, "C:\\a.wav"}},
        {"kind 2.9", "2.9", nullptr, "C:\\a.wav", {"C:\\a.wav"}, {2, 0, "C:\\a.wav"}},
        {"kind a word", "two", "4", "C:\\a.wav", {"C:\\a.wav"}, {0, 4, "C:\\a.wav"}},
        {"repeat 40000", "1", "40000", nullptr, {}, {1, 0, ""}},
        {"repeat -1", "1", "-1", nullptr, {}, {1, -1, ""}},
        {"kind 7 stays", "7", "2", "C:\\missing", {}, {7, 2, ""}},
        {"kind -1.5", "-1.5", nullptr, nullptr, {}, {-2, 0, ""}},
        {"folder path", "2", nullptr, "C:\\music\\", {"C:\\music"}, {2, 0, "C:\\music\\"}},
    };
    for (const IniCase& c : cases) {
        const SaverSettingsRecord got = Load(c);
        EXPECT_EQ(got.kind, c.expected.kind) << c.name;
        EXPECT_EQ(got.repeatTrack, c.expected.repeatTrack) << c.name;
        EXPECT_EQ(got.musicFile, c.expected.musicFile) << c.name;
    }
}

TEST(SettingsRules, FailedNumberKeepsWhatTheFieldHeld) {
    SaverSettingsRecord settings{1, 9, "old"};
    ApplySettingsRules(
        settings,
        [](const char* key) {
            return std::string(key) == kIniFileKey ? std::string() : std::string("oops");
        },
        [](const std::string&) { return true; });
    EXPECT_EQ(settings.kind, 1);
    EXPECT_EQ(settings.repeatTrack, 9);
    EXPECT_EQ(settings.musicFile, "");
}

TEST(SettingsRules, EmptyFileValueIsNotTested) {
    std::set<std::string> tested;
    Load({"", "2", nullptr, "", {}, {}}, &tested);
    EXPECT_TRUE(tested.empty());
    Load({"", "2", nullptr, "C:\\x.wav", {}, {}}, &tested);
    EXPECT_EQ(tested, std::set<std::string>{"C:\\x.wav"});
}

TEST(PathForFileTest, DropsOneTrailingBackslashCharacter) {
    EXPECT_EQ(PathForFileTest("C:\\music\\"), "C:\\music");
    EXPECT_EQ(PathForFileTest("C:\\music\\\\"), "C:\\music\\");
    EXPECT_EQ(PathForFileTest("C:\\a.wav"), "C:\\a.wav");
    EXPECT_EQ(PathForFileTest(""), "");
    EXPECT_EQ(PathForFileTest("\\"), "");
    // "C:\表" ends in the byte 5C, which is the second half of "表", not a backslash.
    EXPECT_EQ(PathForFileTest("C:\\\x95\x5C"), "C:\\\x95\x5C");
}

TEST(MusicExtension, LastThreeCharactersUpperCased) {
    const struct { const char* file; const char* expected; } cases[] = {
        {"C:\\a.wav", "WAV"}, {"C:\\a.Mp3", "MP3"}, {"C:\\amp3", "MP3"}, {"C:\\a.wave", "AVE"},
        {"C:\\a.mid", "MID"}, {"ab", "AB"}, {"", ""},
        {"C:\\\x95\x5Cwa", "\x95\x5CWA"},  // "表" counts as one character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MusicExtension(c.file), c.expected) << c.file;
    }
}

TEST(IniKeys, CodePage932KeyNamesAreHeldInUtf8) {
    EXPECT_STREQ(kIniSection, "Section");
    EXPECT_STREQ(kIniKindKey, "BGM\xE5\x8C\xBA\xE5\x88\x86");
    EXPECT_STREQ(kIniRepeatKey, "BGM\xEF\xBE\x98\xEF\xBE\x8B\xEF\xBE\x9F\xEF\xBD\xB0\xEF\xBE\x84");
    EXPECT_STREQ(kIniFileKey, "BGM\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99");
}

}  // namespace
