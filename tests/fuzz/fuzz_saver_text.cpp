// Fuzz target: the host's text readers (numbers, the preview handle, the mode letter,
// INI values through the settings rules, file-name checks and MCI reply handling) on
// arbitrary bytes. Beyond "no crash", it checks the promises the callers rely on.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/ansi_chars.h"
#include "core/command_line.h"
#include "core/music_logic.h"
#include "core/number_text.h"
#include "core/settings_rules.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    if (const std::optional<double> n = ParseNumber(text)) Check(std::isfinite(*n));
    if (const std::optional<int16_t> s = SettingNumber(text)) {
        Check(ParseNumber(text).has_value());
        Check(*s == std::floor(*ParseNumber(text)));
    }
    if (const std::optional<int16_t> r = RepeatBoxNumber(text)) {
        Check(*r == 0 || ParseNumber(text).has_value());
    }
    const double leading = LeadingNumber(text);
    Check(!std::isnan(leading));
    PreviewParentHandle(text);

    const std::string mode = ModeLetter(text);
    Check(mode.size() <= 2);
    Check(AnsiCharCount(text) >= 2 || mode.empty());

    const std::string tested = PathForFileTest(text);
    Check(tested.size() + 1 >= text.size() && tested.size() <= text.size());
    Check(text.compare(0, tested.size(), tested) == 0);
    Check(AnsiCharCount(MusicExtension(text)) == std::min<std::size_t>(3, AnsiCharCount(text)));

    // The input split into the three INI values at the first two line feeds.
    const std::size_t a = text.find('\n');
    const std::size_t b = a == std::string::npos ? a : text.find('\n', a + 1);
    const std::string kind = text.substr(0, a);
    const std::string repeat = a == std::string::npos ? "" : text.substr(a + 1, b - a - 1);
    const std::string file = b == std::string::npos ? "" : text.substr(b + 1);
    SaverSettingsRecord settings;
    ApplySettingsRules(
        settings,
        [&](const char* key) {
            if (std::strcmp(key, kIniKindKey) == 0) return kind;
            if (std::strcmp(key, kIniRepeatKey) == 0) return repeat;
            return file;
        },
        [](const std::string& path) { return !path.empty() && path[0] == 'C'; });
    Check(settings.kind != BgmFile || !settings.musicFile.empty());

    // MCI replies of any content and length, written without a NUL into each area.
    MusicPlayer player;
    player.port.send = [&](const std::string&, char* reply, uint32_t length) {
        if (reply != nullptr) {
            for (uint32_t i = 0; i < length; ++i) reply[i] = size ? text[i % size] : 'x';
        }
        return size > 0 && text[0] == 'E' ? 263 : 0;
    };
    player.port.errorText = [&](int32_t, char* buffer, uint32_t length) {
        std::memset(buffer, 'e', length);
        return size % 2 == 0;
    };
    player.port.waveOutDevices = [] { return 1u; };
    player.port.playSound = [](const char*, uint32_t) { return true; };
    PollCd(player, static_cast<int16_t>(size % 5));
    KeepMp3Playing(player);
    Check(player.LastMciReply.size() <= 512);
    return 0;
}
