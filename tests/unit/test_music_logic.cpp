#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/music_logic.h"

namespace {

// A scripted MCI port: each command answers from a table (code and reply text); every
// call is recorded, with the reply length that was offered.
struct FakeMci {
    struct Answer {
        int32_t code = 0;
        std::string reply;
    };
    std::map<std::string, std::deque<Answer>> script;  // per command, used in order
    std::map<std::string, Answer> standing;            // answers that never run out
    std::vector<std::string> sent;
    std::vector<uint32_t> lengths;
    bool errorTextWorks = true;
    uint32_t devices = 1;
    std::vector<std::pair<std::string, uint32_t>> sounds;

    Answer Next(const std::string& command) {
        auto queued = script.find(command);
        if (queued != script.end() && !queued->second.empty()) {
            Answer a = queued->second.front();
            queued->second.pop_front();
            return a;
        }
        auto fixed = standing.find(command);
        if (fixed != standing.end()) return fixed->second;
        return {};
    }

    MusicPlayer Player() {
        MusicPlayer player;
        player.port.send = [this](const std::string& command, char* reply, uint32_t length) {
            sent.push_back(command);
            lengths.push_back(length);
            const Answer a = Next(command);
            if (a.code == 0 && reply != nullptr && length > 0) {
                // Like winmm: the reply, cut to fit, with its NUL.
                const std::size_t n = std::min<std::size_t>(a.reply.size(), length - 1);
                std::memcpy(reply, a.reply.data(), n);
                reply[n] = '\0';
            }
            return a.code;
        };
        player.port.errorText = [this](int32_t code, char* buffer, uint32_t length) {
            if (!errorTextWorks) return false;
            std::snprintf(buffer, length, "MCI error %d", static_cast<int>(code));
            return true;
        };
        player.port.waveOutDevices = [this] { return devices; };
        player.port.playSound = [this](const char* name, uint32_t flags) {
            sounds.emplace_back(name ? name : "<null>", flags);
            return true;
        };
        return player;
    }
};

using Commands = std::vector<std::string>;

const Commands kStatusQueries = {
    "status cdaudio current track", "status cdaudio number of tracks",
    "status cdaudio position", "status cdaudio length", "status cdaudio mode"};

Commands Plus(Commands a, const Commands& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(MusicCd, OpenAndStopSendTheirCommandsWithoutReplyAreas) {
    FakeMci mci;
    MusicPlayer player = mci.Player();
    OpenCd(player);
    StopCd(player);
    EXPECT_EQ(mci.sent, (Commands{"open cdaudio", "set cdaudio time format tmsf",
                                  "stop cdaudio", "close cdaudio"}));
    EXPECT_EQ(mci.lengths, (std::vector<uint32_t>{0, 0, 0, 0}));
}

struct PollCase {
    const char* name;
    int16_t repeatTrack;
    std::map<std::string, FakeMci::Answer> answers;
    Commands expected;
    bool keepPolling;
};

TEST(MusicCd, PollCdTable) {
    const PollCase cases[] = {
        {"whole disc playing", 0,
         {{"status cdaudio current track", {0, "2"}}, {"status cdaudio mode", {0, "playing"}}},
         kStatusQueries, true},
        {"whole disc stopped", 0,
         {{"status cdaudio current track", {0, "1"}}, {"status cdaudio mode", {0, "stopped"}}},
         Plus(kStatusQueries, {"play cdaudio"}), true},
        {"repeat 3, on track 4", 3,
         {{"status cdaudio current track", {0, "4"}}, {"status cdaudio mode", {0, "playing"}},
          {"status cdaudio position track 3", {0, "03:00:00:00"}}},
         Plus(kStatusQueries, {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}),
         true},
        {"repeat 3, on track 3", 3,
         {{"status cdaudio current track", {0, "3"}}, {"status cdaudio mode", {0, "playing"}}},
         kStatusQueries, true},
        {"repeat 3, on track 3 but stopped", 3,
         {{"status cdaudio current track", {0, "3"}}, {"status cdaudio mode", {0, "stopped"}},
          {"status cdaudio position track 3", {0, "03:00:00:00"}}},
         Plus(kStatusQueries, {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}),
         true},
        {"repeat past the last track", 12,
         {{"status cdaudio current track", {0, "1"}}, {"status cdaudio mode", {0, "playing"}},
          {"status cdaudio position track 12", {289, ""}}},
         Plus(kStatusQueries, {"status cdaudio position track 12", "play cdaudio from Error:289"}),
         true},
        {"open failed: no device", 0,
         {{"status cdaudio current track", {266, ""}}},
         {"status cdaudio current track"}, false},
        {"track count fails", 0,
         {{"status cdaudio current track", {0, "1"}},
          {"status cdaudio number of tracks", {275, ""}}},
         {"status cdaudio current track", "status cdaudio number of tracks"}, false},
        {"eRr in a reply", 0,
         {{"status cdaudio current track", {0, "1"}},
          {"status cdaudio number of tracks", {0, "device eRror"}}},
         {"status cdaudio current track", "status cdaudio number of tracks"}, false},
        {"current track not a number", 2,
         {{"status cdaudio current track", {0, "two"}}, {"status cdaudio mode", {0, "stopped"}}},
         kStatusQueries, false},
        {"current track not a number, whole disc", 0,
         {{"status cdaudio current track", {0, "two"}}, {"status cdaudio mode", {0, "stopped"}}},
         Plus(kStatusQueries, {"play cdaudio"}), true},
        {"mode is Stopped in another case", 0,
         {{"status cdaudio current track", {0, "1"}}, {"status cdaudio mode", {0, "Stopped"}}},
         kStatusQueries, true},
    };
    for (const PollCase& c : cases) {
        FakeMci mci;
        mci.standing = c.answers;
        MusicPlayer player = mci.Player();
        PollCd(player, c.repeatTrack);
        EXPECT_EQ(mci.sent, c.expected) << c.name;
        EXPECT_EQ(player.CdKeepPolling, c.keepPolling) << c.name;
    }
}

TEST(MusicCd, ModeAreaIsOfferedOneShortAndKeepsItsContentOnFailure) {
    FakeMci mci;
    mci.script["status cdaudio mode"] = {{0, "stopped"}, {262, ""}};
    mci.standing["status cdaudio current track"] = {0, "1"};
    MusicPlayer player = mci.Player();
    PollCd(player, 0);
    EXPECT_EQ(mci.lengths[4], 255u);
    mci.sent.clear();
    PollCd(player, 0);  // the failed mode query leaves "stopped" in the area
    EXPECT_EQ(mci.sent.back(), "play cdaudio");
    EXPECT_TRUE(player.CdKeepPolling);
}

TEST(MusicCd, KeepPollingIsSetAgainAtEveryTick) {
    FakeMci mci;
    mci.script["status cdaudio current track"] = {{266, ""}, {0, "1"}};
    MusicPlayer player = mci.Player();
    PollCd(player, 0);
    EXPECT_FALSE(player.CdKeepPolling);
    PollCd(player, 0);
    EXPECT_TRUE(player.CdKeepPolling);
}

TEST(MusicMp3, OpenPlaysOnlyWhenTheOpenSucceeded) {
    const std::string open =
        "open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play";
    FakeMci ok;
    MusicPlayer player = ok.Player();
    OpenAndPlayMp3(player, "C:\\My Music\\a b.mp3");
    EXPECT_EQ(ok.sent, (Commands{open, "play MP3Play"}));

    FakeMci failing;
    failing.standing[open] = {275, ""};
    player = failing.Player();
    OpenAndPlayMp3(player, "C:\\My Music\\a b.mp3");
    EXPECT_EQ(failing.sent, (Commands{open}));
}

TEST(MusicMp3, KeepPlayingRestartsOnlyWhenNotPlaying) {
    const struct { const char* name; FakeMci::Answer mode; Commands expected; } cases[] = {
        {"playing", {0, "playing"}, {"status MP3Play mode"}},
        {"stopped", {0, "stopped"}, {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}},
        {"Playing", {0, "Playing"}, {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}},
        {"no device", {263, ""}, {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}},
    };
    for (const auto& c : cases) {
        FakeMci mci;
        mci.standing["status MP3Play mode"] = c.mode;
        MusicPlayer player = mci.Player();
        KeepMp3Playing(player);
        EXPECT_EQ(mci.sent, c.expected) << c.name;
        EXPECT_EQ(mci.lengths[0], 30u) << c.name;
    }
}

TEST(MusicMp3, ModeAreaKeepsOldContentAndAFullAreaIsSafe) {
    FakeMci mci;
    MusicPlayer player = mci.Player();
    // A reply that fills all 30 characters without a NUL, written by a port that does not
    // terminate it: only the first 7 characters are looked at.
    player.port.send = [&](const std::string&, char* reply, uint32_t length) {
        std::memset(reply, 'p', length);
        std::memcpy(reply, "playing", 7);
        return 0;
    };
    EXPECT_TRUE(IsMp3Playing(player));
    player.port.send = [](const std::string&, char*, uint32_t) { return 263; };
    EXPECT_TRUE(IsMp3Playing(player));  // the failed query left "playing"
}

TEST(MusicMp3, StopSendsStopThenClose) {
    FakeMci mci;
    MusicPlayer player = mci.Player();
    StopMp3(player);
    EXPECT_EQ(mci.sent, (Commands{"stop MP3Play", "close MP3Play"}));
}

TEST(MusicWav, PlaysLoopedOnlyWithAnOutputDevice) {
    FakeMci mci;
    MusicPlayer player = mci.Player();
    PlayWav(player, "C:\\a.wav");
    StopWav(player);
    ASSERT_EQ(mci.sounds.size(), 2u);
    EXPECT_EQ(mci.sounds[0], (std::pair<std::string, uint32_t>{"C:\\a.wav", 9}));
    EXPECT_EQ(mci.sounds[1], (std::pair<std::string, uint32_t>{"<null>", 0}));

    FakeMci silent;
    silent.devices = 0;
    player = silent.Player();
    PlayWav(player, "C:\\a.wav");
    EXPECT_TRUE(silent.sounds.empty());
}

TEST(MciStrings, SendMciRepliesAndErrors) {
    FakeMci mci;
    mci.standing["status cdaudio mode"] = {0, "open"};
    mci.standing["bogus"] = {263, ""};
    MusicPlayer player = mci.Player();
    std::string reply = "untouched";

    EXPECT_EQ(SendMci(player, "", reply), -1);
    EXPECT_EQ(reply, player.noCommandText);
    EXPECT_TRUE(mci.sent.empty());

    EXPECT_EQ(SendMci(player, "status cdaudio mode", reply), 0);
    EXPECT_EQ(reply, "open");
    EXPECT_EQ(mci.lengths.back(), 512u);

    EXPECT_EQ(SendMci(player, "bogus", reply), 263);
    EXPECT_EQ(reply, "MCI error 263");

    mci.errorTextWorks = false;
    EXPECT_EQ(SendMci(player, "bogus", reply), 263);
    EXPECT_EQ(reply, "Error (文字列が取れません)");

    EXPECT_EQ(QueryMci(player, "bogus"), "Error:263");
    EXPECT_EQ(QueryMci(player, "status cdaudio mode"), "open");
    EXPECT_EQ(player.LastMciReply, "open");
}

TEST(MciStrings, FullReplyAreaIsReadWithinItsBounds) {
    FakeMci mci;
    MusicPlayer player = mci.Player();
    player.port.send = [](const std::string&, char* reply, uint32_t length) {
        std::memset(reply, 'x', length);  // no NUL anywhere
        return 0;
    };
    player.port.errorText = [](int32_t, char* buffer, uint32_t length) {
        std::memset(buffer, 'e', length);
        return true;
    };
    std::string reply;
    EXPECT_EQ(SendMci(player, "status cdaudio mode", reply), 0);
    EXPECT_EQ(reply, std::string(512, 'x'));
    player.port.send = [](const std::string&, char*, uint32_t) { return 5; };
    EXPECT_EQ(SendMci(player, "x", reply), 5);
    EXPECT_EQ(reply, std::string(256, 'e'));
}

TEST(MciStrings, PlayMciShapes) {
    FakeMci mci;
    MusicPlayer player = mci.Player();
    PlayMci(player, "cdaudio", "", "");
    PlayMci(player, "cdaudio", "01:00:00:00", "");
    PlayMci(player, "cdaudio", "", "5");
    PlayMci(player, "cdaudio", "1", "5");
    EXPECT_EQ(mci.sent, (Commands{"play cdaudio", "play cdaudio from 01:00:00:00",
                                  "play cdaudio to 5", "play cdaudio from 1 to 5"}));
}

TEST(MciStrings, ReplyFailedFindsErrInAnyCase) {
    EXPECT_TRUE(ReplyFailed("Error:266"));
    EXPECT_TRUE(ReplyFailed("xeRrx"));
    EXPECT_TRUE(ReplyFailed("err"));
    EXPECT_FALSE(ReplyFailed("E R R"));
    EXPECT_FALSE(ReplyFailed("playing"));
    EXPECT_FALSE(ReplyFailed(""));
}

}  // namespace
