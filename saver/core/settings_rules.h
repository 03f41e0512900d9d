// The three music settings and the rules that fill them from "Halvane.ini".
// The INI reader and the file test are passed in, so the rules run without Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum BgmKind : int16_t { BgmNone = 0, BgmCd = 1, BgmFile = 2 };

struct SaverSettingsRecord {
    int16_t kind = 0;         // BgmKind; other values are kept as read and play nothing
    int16_t repeatTrack = 0;  // CD track played over and over; 0 = the whole disc
    std::string musicFile;    // full path in ANSI bytes; empty when none
};

// Section and key names of "Halvane.ini", in UTF-8 (the Win32 side converts them to
// the ANSI code page, which gives the code page 932 key bytes).
extern const char* const kIniSection;    // "Section"
extern const char* const kIniKindKey;    // "BGM区分"
extern const char* const kIniRepeatKey;  // "BGMﾘﾋﾟｰﾄ"
extern const char* const kIniFileKey;    // "BGMﾌｧｲﾙ"

// Reads one key of the section (key in UTF-8); returns the value, empty when missing.
using IniLookup = std::function<std::string(const char* keyUtf8)>;
// True when the file at the path (ANSI bytes) can be opened for reading.
using FileTest = std::function<bool(const std::string& path)>;

// Fills settings from the three keys. Each step stands alone: a value that is not a
// number, or is outside 16 bits, leaves its field as it was. A file source (2) without
// a usable file becomes no music (0); a CD source keeps its kind, only the path is
// cleared.
void ApplySettingsRules(SaverSettingsRecord& settings, const IniLookup& readKey,
                        const FileTest& fileExists);

// The path that the file test opens: one trailing backslash character dropped.
std::string PathForFileTest(std::string_view path);

// The last three characters of the music file, upper-cased ("WAV", "MP3", ...).
std::string MusicExtension(const std::string& musicFile);
