// Module Selvora_B: host module state, the settings store and the start-up procedure.
// Arguments and results are ANSI bytes; callers convert UTF-8 literals with AnsiFromUtf8.
#pragma once

#include <cstdint>
#include <string>

// Pointer position taken by the saver form's and the dialog's load steps (screen
// pixels, 16 bits, 0 at program start).
extern int16_t cursorStartX;
extern int16_t cursorStartY;
// Display counter returned when the start-up procedure hid the cursor.
extern int32_t savedCursorCount;

// Folder of the running host, without a trailing backslash ("C:" at a drive root), so
// that ProgramFolder() + "\\Halvane.ini" is always a well-formed path.
std::string ProgramFolder();
// ProgramFolder() + "\\Halvane.ini".
std::string IniPath();

// The value of key in section of the INI file, at most 255 bytes; empty when the file,
// the section or the key is missing. Never creates the file.
std::string ReadIni(const std::string& section, const std::string& key,
                    const std::string& iniPath);
// Stores value under key in section (section and key cut to 128 characters); creates
// the file, the section and the key as needed. A failed write is not reported.
void WriteIni(const std::string& section, const std::string& key, const std::string& value,
              const std::string& iniPath);
// Fills SaverSettings from "Halvane.ini" beside the host.
void LoadSettings();
// True when the path (one trailing backslash dropped) names a file that can be opened
// for reading; false for folders, devices, missing files and bad names. Shows nothing.
bool FileExists(const std::string& path);
// The start-up procedure: instance test, mode dispatch, then one form or the end.
void RunStartup();
