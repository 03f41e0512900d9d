// Module Selvora_BGM: the settings record and the background music, bound to winmm.
// Nothing here shows anything; failures only reach LastMciReply().
#pragma once

#include <cstdint>
#include <string>

#include "core/settings_rules.h"

// The three music settings, filled by LoadSettings, edited by the settings dialog.
extern SaverSettingsRecord SaverSettings;

// Audio CD ("cdaudio"): open and set the time format; one 200 ms tick; stop and close.
void OpenCd();
void PollCd();
// The CD timer's enabled state after a tick: false once a status query failed.
bool CdKeepPolling();
void StopCd();

// MP3 file (SaverSettings.musicFile) under the alias "MP3Play".
void OpenAndPlayMp3();
void KeepMp3Playing();  // the 1000 ms tick
bool IsMp3Playing();
void StopMp3();

// WAV file (SaverSettings.musicFile), looped, asynchronous.
void PlayWav();
void StopWav();

// MCI command strings (ANSI bytes).
int32_t SendMci(const std::string& command, std::string& reply);
std::string QueryMci(const std::string& command);
int32_t PlayMci(const std::string& device, const std::string& from, const std::string& to);
// Reply or error text of the last command sent through SendMci.
std::string& LastMciReply();
