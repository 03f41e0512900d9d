// The music module's command logic: MCI command strings for the audio CD and the MP3
// file, PlaySound for the WAV file. Every call to the multimedia system goes through an
// MciPort, so a scripted port can stand in for winmm.
//
// All text (commands, replies, paths) is in ANSI bytes. Nothing is ever shown: error
// texts only reach LastMciReply.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

struct MciPort {
    // mciSendStringA(command, reply, length, no callback window); reply is null and
    // length 0 when no reply is wanted. Returns the MCI result code.
    std::function<int32_t(const std::string& command, char* reply, uint32_t length)> send;
    // mciGetErrorStringA(code, buffer, length); true when it gave a text.
    std::function<bool(int32_t code, char* buffer, uint32_t length)> errorText;
    // waveOutGetNumDevs().
    std::function<uint32_t()> waveOutDevices;
    // PlaySoundA(name, no module, flags); name is null to stop the sound.
    std::function<bool(const char* name, uint32_t flags)> playSound;
};

// PlaySoundA flags used for the WAV file: SND_ASYNC | SND_LOOP.
constexpr uint32_t kWavPlayFlags = 9;

struct MusicPlayer {
    MciPort port;

    // Replies written into LastMciReply when SendMci has nothing else to give; UTF-8
    // here, replaced by their ANSI form when the player is bound to winmm.
    std::string noCommandText = "コマンド文字列が指定されていません";
    std::string noErrorText = "Error (文字列が取れません)";

    bool CdKeepPolling = false;  // false after a CD tick met a failure
    std::string LastMciReply;    // reply or error text of the last SendMci

    // Fixed reply areas, kept between calls; they start all NUL.
    std::array<char, 512> replyArea{};   // SendMci replies, offered as 512
    std::array<char, 256> errorArea{};   // error texts, offered as 256
    std::array<char, 256> cdModeArea{};  // "status cdaudio mode", offered as 255
    std::array<char, 30> mp3ModeArea{};  // "status MP3Play mode", offered as 30
};

// Sends one command with the reply area. reply becomes the reply text (code 0) or the
// error text; an empty command sends nothing, returns -1 and gives noCommandText.
int32_t SendMci(MusicPlayer& player, const std::string& command, std::string& reply);
// SendMci into LastMciReply; the reply, or "Error:" and the code on failure.
std::string QueryMci(MusicPlayer& player, const std::string& command);
// "play <device>[ from <from>][ to <to>]" through SendMci into LastMciReply.
int32_t PlayMci(MusicPlayer& player, const std::string& device, const std::string& from,
                const std::string& to);

// True when a QueryMci reply counts as failed: "ERR" in any letter case anywhere.
bool ReplyFailed(const std::string& reply);

void OpenCd(MusicPlayer& player);
// One CD tick: keeps the disc playing, or track repeatTrack repeating; leaves
// CdKeepPolling false when a status query failed.
void PollCd(MusicPlayer& player, int16_t repeatTrack);
void StopCd(MusicPlayer& player);

void OpenAndPlayMp3(MusicPlayer& player, const std::string& musicFile);
bool IsMp3Playing(MusicPlayer& player);
// One MP3 tick: stops and replays from 0 when the file is not playing.
void KeepMp3Playing(MusicPlayer& player);
void StopMp3(MusicPlayer& player);

// Loops the WAV file asynchronously, only when a waveform output device exists.
void PlayWav(MusicPlayer& player, const std::string& musicFile);
void StopWav(MusicPlayer& player);
