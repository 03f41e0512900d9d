#include "music_logic.h"

#include <cstring>

#include "ansi_chars.h"
#include "number_text.h"

namespace {

// A command whose reply and result nobody looks at.
void SendOnly(MusicPlayer& player, const std::string& command) {
    player.port.send(command, nullptr, 0);
}

// The first characters of a fixed area compared with a word; never reads past the area.
template <std::size_t N>
bool AreaStartsWith(const std::array<char, N>& area, const char* word) {
    const std::size_t length = std::strlen(word);
    return length <= N && std::memcmp(area.data(), word, length) == 0;
}

}  // namespace

int32_t SendMci(MusicPlayer& player, const std::string& command, std::string& reply) {
    if (command.empty()) {
        reply = player.noCommandText;
        return -1;
    }
    const int32_t code = player.port.send(command, player.replyArea.data(),
                                          static_cast<uint32_t>(player.replyArea.size()));
    if (code != 0) {
        if (player.port.errorText(code, player.errorArea.data(),
                                  static_cast<uint32_t>(player.errorArea.size()))) {
            reply = TextBeforeNul(player.errorArea.data(), player.errorArea.size());
        } else {
            reply = player.noErrorText;
        }
        return code;
    }
    reply = TextBeforeNul(player.replyArea.data(), player.replyArea.size());
    return 0;
}

std::string QueryMci(MusicPlayer& player, const std::string& command) {
    const int32_t code = SendMci(player, command, player.LastMciReply);
    if (code != 0) return "Error:" + std::to_string(code);
    return player.LastMciReply;
}

int32_t PlayMci(MusicPlayer& player, const std::string& device, const std::string& from,
                const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty()) command += " from " + from;
    if (!to.empty()) command += " to " + to;
    return SendMci(player, command, player.LastMciReply);
}

bool ReplyFailed(const std::string& reply) {
    return AsciiUpper(reply).find("ERR") != std::string::npos;
}

void OpenCd(MusicPlayer& player) {
    SendOnly(player, "open cdaudio");
    SendOnly(player, "set cdaudio time format tmsf");
}

void PollCd(MusicPlayer& player, int16_t repeatTrack) {
    player.CdKeepPolling = true;

    const std::string current = QueryMci(player, "status cdaudio current track");
    if (ReplyFailed(current)) {
        player.CdKeepPolling = false;
        return;
    }
    if (ReplyFailed(QueryMci(player, "status cdaudio number of tracks"))) {
        player.CdKeepPolling = false;
        return;
    }
    QueryMci(player, "status cdaudio position");
    QueryMci(player, "status cdaudio length");

    // Offered one short of the area, so its last character stays NUL.
    player.port.send("status cdaudio mode", player.cdModeArea.data(),
                     static_cast<uint32_t>(player.cdModeArea.size() - 1));
    const bool stopped = AreaStartsWith(player.cdModeArea, "stopped");

    if (repeatTrack == 0) {
        if (stopped) PlayMci(player, "cdaudio", "", "");
        return;
    }

    // The current track must read as a number; a reply that does not ends the polling.
    const std::optional<double> currentTrack = ParseNumber(current);
    if (!currentTrack) {
        player.CdKeepPolling = false;
        return;
    }
    if (*currentTrack != repeatTrack || stopped) {
        const std::string start =
            QueryMci(player, "status cdaudio position track " + std::to_string(repeatTrack));
        PlayMci(player, "cdaudio", start, "");
    }
}

void StopCd(MusicPlayer& player) {
    SendOnly(player, "stop cdaudio");
    SendOnly(player, "close cdaudio");
}

void OpenAndPlayMp3(MusicPlayer& player, const std::string& musicFile) {
    const int32_t code =
        player.port.send("open \"" + musicFile + "\" type MPEGVideo Alias MP3Play", nullptr, 0);
    if (code == 0) SendOnly(player, "play MP3Play");
}

bool IsMp3Playing(MusicPlayer& player) {
    player.port.send("status MP3Play mode", player.mp3ModeArea.data(),
                     static_cast<uint32_t>(player.mp3ModeArea.size()));
    return AreaStartsWith(player.mp3ModeArea, "playing");
}

void KeepMp3Playing(MusicPlayer& player) {
    if (IsMp3Playing(player)) return;
    SendOnly(player, "stop MP3Play");
    SendOnly(player, "play MP3Play from 0");
}

void StopMp3(MusicPlayer& player) {
    SendOnly(player, "stop MP3Play");
    SendOnly(player, "close MP3Play");
}

void PlayWav(MusicPlayer& player, const std::string& musicFile) {
    if (static_cast<int32_t>(player.port.waveOutDevices()) <= 0) return;
    player.port.playSound(musicFile.c_str(), kWavPlayFlags);
}

void StopWav(MusicPlayer& player) {
    player.port.playSound(nullptr, 0);
}
