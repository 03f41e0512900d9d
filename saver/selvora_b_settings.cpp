// Selvora_B module state and the settings store: "Halvane.ini" beside the host, read
// and written only through the private profile functions.
#include "selvora_b.h"

#include <windows.h>

#include <vector>

#include "ansi_text.h"
#include "core/ansi_chars.h"
#include "core/number_text.h"
#include "core/settings_rules.h"
#include "selvora_bgm.h"

int16_t cursorStartX = 0;
int16_t cursorStartY = 0;
int32_t savedCursorCount = 0;

namespace {

constexpr DWORD kIniValueBuffer = 256;    // values come back cut to 255 bytes
constexpr std::size_t kIniNameChars = 128;  // section and key names are cut to this

}  // namespace

std::string ProgramFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) {
            const std::string exe(path.data(), length);
            const std::size_t slash = LastBackslash(exe);
            return slash == std::string::npos ? std::string() : exe.substr(0, slash);
        }
        if (path.size() >= 32768) return std::string();
        path.resize(path.size() * 2);
    }
}

std::string IniPath() {
    return ProgramFolder() + "\\Halvane.ini";
}

std::string ReadIni(const std::string& section, const std::string& key,
                    const std::string& iniPath) {
    char buffer[kIniValueBuffer] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, kIniValueBuffer,
                             iniPath.c_str());
    // The count returned is not used: the first NUL ends the value.
    return TextBeforeNul(buffer, sizeof buffer);
}

void WriteIni(const std::string& section, const std::string& key, const std::string& value,
              const std::string& iniPath) {
    const std::string sectionName(AnsiLeft(section.c_str(), kIniNameChars));
    const std::string keyName(AnsiLeft(key.c_str(), kIniNameChars));
    WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), value.c_str(),
                               iniPath.c_str());
}

bool FileExists(const std::string& path) {
    const std::string target = PathForFileTest(path);
    if (target.empty()) return false;

    // No "insert a disk" box for an empty drive: every failure stays silent.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const HANDLE file = CreateFileA(target.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool readable = false;
    if (file != INVALID_HANDLE_VALUE) {
        // Only a file on a disk counts: not a folder, a device or a pipe.
        BY_HANDLE_FILE_INFORMATION info = {};
        readable = GetFileType(file) == FILE_TYPE_DISK &&
                   GetFileInformationByHandle(file, &info) &&
                   (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        CloseHandle(file);
    }
    SetErrorMode(oldMode);
    SetLastError(ERROR_SUCCESS);
    return readable;
}

void LoadSettings() {
    const std::string iniPath = IniPath();
    const std::string section = AnsiFromUtf8(kIniSection);
    ApplySettingsRules(
        SaverSettings,
        [&](const char* keyUtf8) { return ReadIni(section, AnsiFromUtf8(keyUtf8), iniPath); },
        FileExists);
}
