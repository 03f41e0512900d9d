#include "settings_rules.h"

#include "ansi_chars.h"
#include "number_text.h"

const char* const kIniSection = "Section";
const char* const kIniKindKey = "BGM区分";
const char* const kIniRepeatKey = "BGMﾘﾋﾟｰﾄ";
const char* const kIniFileKey = "BGMﾌｧｲﾙ";

namespace {

// An empty value gives 0; a value that is no 16-bit number leaves the field alone.
void ReadSettingNumber(int16_t& field, const std::string& text) {
    if (text.empty()) {
        field = 0;
        return;
    }
    if (const std::optional<int16_t> number = SettingNumber(text)) field = *number;
}

}  // namespace

void ApplySettingsRules(SaverSettingsRecord& settings, const IniLookup& readKey,
                        const FileTest& fileExists) {
    ReadSettingNumber(settings.kind, readKey(kIniKindKey));
    ReadSettingNumber(settings.repeatTrack, readKey(kIniRepeatKey));

    const std::string file = readKey(kIniFileKey);
    if (file.empty()) {
        settings.musicFile.clear();
        if (settings.kind == BgmFile) settings.kind = BgmNone;
        return;
    }
    settings.musicFile = file;
    if (!fileExists(settings.musicFile)) {
        settings.musicFile.clear();
        if (settings.kind == BgmFile) settings.kind = BgmNone;
    }
}

std::string PathForFileTest(std::string_view path) {
    if (EndsWithBackslash(path)) path.remove_suffix(1);
    return std::string(path);
}

std::string MusicExtension(const std::string& musicFile) {
    return AsciiUpper(AnsiRight(musicFile, 3));
}
