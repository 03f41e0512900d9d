// module_probe: drives the host's settings store and music module from stdin, one
// command a line.
// Every argument and every result is hex-encoded bytes ("-" for empty text), so that
// code page 932 text passes the console unchanged.
//   read <section> <key> <ini>          -> the value
//   write <section> <key> <value> <ini> -> ok
//   exists <path>                       -> 1 or 0
//   load                                -> <kind> <repeatTrack> <musicFile>
//   folder                              -> ProgramFolder()
//   ansi <utf8>                         -> AnsiFromUtf8(utf8)
//   mci <command>                       -> <SendMci code> <LastMciReply>
//   query <command>                     -> QueryMci(command)
//   cdtick                              -> OpenCd, PollCd: <CdKeepPolling 1/0> <LastMciReply>
//   mp3 <path>                          -> OpenAndPlayMp3, KeepMp3Playing, StopMp3:
//                                          <IsMp3Playing 1/0>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "selvora_b.h"
#include "selvora_bgm.h"

namespace {

std::string FromHex(const std::string& hex) {
    std::string out;
    if (hex == "-") return out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return out;
}

std::string ToHex(const std::string& bytes) {
    if (bytes.empty()) return "-";
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string command;
        words >> command;
        std::vector<std::string> args;
        for (std::string w; words >> w;) args.push_back(FromHex(w));

        std::string reply = "bad";
        if (command == "read" && args.size() == 3) {
            reply = ToHex(ReadIni(args[0], args[1], args[2]));
        } else if (command == "write" && args.size() == 4) {
            WriteIni(args[0], args[1], args[2], args[3]);
            reply = "ok";
        } else if (command == "exists" && args.size() == 1) {
            reply = FileExists(args[0]) ? "1" : "0";
        } else if (command == "load" && args.empty()) {
            SaverSettings = SaverSettingsRecord{};
            LoadSettings();
            reply = std::to_string(SaverSettings.kind) + " " +
                    std::to_string(SaverSettings.repeatTrack) + " " +
                    ToHex(SaverSettings.musicFile);
        } else if (command == "folder" && args.empty()) {
            reply = ToHex(ProgramFolder());
        } else if (command == "ansi" && args.size() == 1) {
            reply = ToHex(AnsiFromUtf8(args[0].c_str()));
        } else if (command == "mci" && args.size() <= 1) {
            const int32_t code = SendMci(args.empty() ? std::string() : args[0], LastMciReply());
            reply = std::to_string(code) + " " + ToHex(LastMciReply());
        } else if (command == "query" && args.size() == 1) {
            reply = ToHex(QueryMci(args[0]));
        } else if (command == "cdtick" && args.empty()) {
            OpenCd();
            PollCd();
            reply = std::string(CdKeepPolling() ? "1" : "0") + " " + ToHex(LastMciReply());
            StopCd();
        } else if (command == "mp3" && args.size() == 1) {
            SaverSettings.musicFile = args[0];
            OpenAndPlayMp3();
            KeepMp3Playing();
            reply = std::string(IsMp3Playing() ? "1" : "0");
            StopMp3();
        }
        std::cout << reply << std::endl;
    }
    return 0;
}
