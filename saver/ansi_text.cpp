#include "ansi_text.h"

#include <windows.h>

#include <cstring>

namespace {

std::string Convert(const char* text, int length, UINT from, UINT to) {
    if (length <= 0) return std::string();
    const int wideLength = MultiByteToWideChar(from, 0, text, length, nullptr, 0);
    if (wideLength <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text, length, &wide[0], wideLength);
    const int outLength =
        WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0) return std::string();
    std::string out(static_cast<std::size_t>(outLength), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, &out[0], outLength, nullptr, nullptr);
    return out;
}

}  // namespace

std::string AnsiFromUtf8(const char* utf8) {
    if (utf8 == nullptr) return std::string();
    return Convert(utf8, static_cast<int>(std::strlen(utf8)), CP_UTF8, CP_ACP);
}

std::string Utf8FromAnsi(const std::string& ansi) {
    return Convert(ansi.data(), static_cast<int>(ansi.size()), CP_ACP, CP_UTF8);
}
