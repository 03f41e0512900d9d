// Text at the Win32 boundary: the host's sources hold Japanese texts as UTF-8; every
// Windows call of the host takes them in the ANSI code page (932 on a Japanese system).
#pragma once

#include <string>

// UTF-8 to the ANSI code page (CP_ACP); empty text for a null pointer.
std::string AnsiFromUtf8(const char* utf8);
// The ANSI code page to UTF-8.
std::string Utf8FromAnsi(const std::string& ansi);
