// Selvora_BGM: the settings record and the music player bound to winmm.
#include "selvora_bgm.h"

#include <windows.h>
#include <mmsystem.h>

#include "ansi_text.h"
#include "core/music_logic.h"

SaverSettingsRecord SaverSettings;

namespace {

MusicPlayer MakeWinmmPlayer() {
    MusicPlayer player;
    player.port.send = [](const std::string& command, char* reply, uint32_t length) {
        return static_cast<int32_t>(mciSendStringA(command.c_str(), reply, length, nullptr));
    };
    player.port.errorText = [](int32_t code, char* buffer, uint32_t length) {
        return mciGetErrorStringA(static_cast<MCIERROR>(code), buffer, length) != FALSE;
    };
    player.port.waveOutDevices = [] { return static_cast<uint32_t>(waveOutGetNumDevs()); };
    player.port.playSound = [](const char* name, uint32_t flags) {
        return PlaySoundA(name, nullptr, flags) != FALSE;
    };
    player.noCommandText = AnsiFromUtf8(player.noCommandText.c_str());
    player.noErrorText = AnsiFromUtf8(player.noErrorText.c_str());
    return player;
}

MusicPlayer& Player() {
    static MusicPlayer player = MakeWinmmPlayer();
    return player;
}

}  // namespace

void OpenCd() { OpenCd(Player()); }
void PollCd() { PollCd(Player(), SaverSettings.repeatTrack); }
bool CdKeepPolling() { return Player().CdKeepPolling; }
void StopCd() { StopCd(Player()); }

void OpenAndPlayMp3() { OpenAndPlayMp3(Player(), SaverSettings.musicFile); }
void KeepMp3Playing() { KeepMp3Playing(Player()); }
bool IsMp3Playing() { return IsMp3Playing(Player()); }
void StopMp3() { StopMp3(Player()); }

void PlayWav() { PlayWav(Player(), SaverSettings.musicFile); }
void StopWav() { StopWav(Player()); }

int32_t SendMci(const std::string& command, std::string& reply) {
    return SendMci(Player(), command, reply);
}
std::string QueryMci(const std::string& command) { return QueryMci(Player(), command); }
int32_t PlayMci(const std::string& device, const std::string& from, const std::string& to) {
    return PlayMci(Player(), device, from, to);
}
std::string& LastMciReply() { return Player().LastMciReply; }
