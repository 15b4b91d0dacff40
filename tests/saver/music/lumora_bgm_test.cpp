#include "saver/music/lumora_bgm.h"

#include <gtest/gtest.h>

#include "tests/saver/music/recording_mci.h"
#include "saver/settings_vars.h"

namespace music::test {
namespace {

constexpr std::int16_t kTrue = Lumora_BGM::True;
constexpr std::int16_t kFalse = Lumora_BGM::False;

class LumoraBgmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saver::BgmKind = 0;
    saver::BgmRepeat = 0;
    saver::BgmFile.clear();
  }
  RecordingMci mci;
  Lumora_BGM bgm{mci};
};

TEST_F(LumoraBgmTest, DirectCommandsWantNoReply) {
  saver::BgmFile = "C:\\My Music\\夜の 曲.mp3";
  bgm.OpenCd();
  bgm.StopCd();
  bgm.PlayMp3();
  bgm.StopMp3();
  EXPECT_EQ(mci.calls, (std::vector<Call>{
                           Send("open cdaudio", 0),
                           Send("set cdaudio time format tmsf", 0),
                           Send("stop cdaudio", 0),
                           Send("close cdaudio", 0),
                           Send("open \"C:\\My Music\\夜の 曲.mp3\" type MPEGVideo Alias MP3Play", 0),
                           Send("play MP3Play", 0),
                           Send("stop MP3Play", 0),
                           Send("close MP3Play", 0),
                       }));
}

TEST_F(LumoraBgmTest, Mp3ThatCannotBeOpenedIsNotPlayed) {
  saver::BgmFile = "missing.mp3";
  mci.answers["open \"missing.mp3\" type MPEGVideo Alias MP3Play"] = {275, ""};
  bgm.PlayMp3();
  EXPECT_EQ(mci.Commands(), (std::vector<std::string>{"open \"missing.mp3\" type MPEGVideo Alias MP3Play"}));
}

struct ModeCase {
  const char* name;
  std::vector<RecordingMci::Answer> replies;  // one per call of IsMp3Playing
  bool playing;                               // result of the last call
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class Mp3ModeTest : public LumoraBgmTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(Mp3ModeTest, PlayingIsTheFirstSevenCharacters) {
  bool result = false;
  for (const auto& reply : GetParam().replies) {
    mci.answers["status MP3Play mode"] = reply;
    result = bgm.IsMp3Playing();
  }
  EXPECT_EQ(result, GetParam().playing);
  for (const Call& call : mci.calls) EXPECT_EQ(call, Send("status MP3Play mode", 30));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Mp3ModeTest,
    ::testing::Values(ModeCase{"Playing", {{0, "playing"}}, true},
                      ModeCase{"PlayingWithMore", {{0, "playing now"}}, true},
                      ModeCase{"Stopped", {{0, "stopped"}}, false},
                      ModeCase{"Paused", {{0, "paused"}}, false},
                      ModeCase{"UpperCase", {{0, "Playing"}}, false},
                      ModeCase{"Short", {{0, "playin"}}, false},
                      ModeCase{"NoReplyEver", {{263, ""}}, false},
                      // A failed query leaves the buffer as the last reply left it.
                      ModeCase{"FailureKeepsLastReply", {{0, "playing"}, {263, ""}}, true},
                      // A shorter reply overwrites the start only.
                      ModeCase{"ShorterReplyAfterPlaying", {{0, "playing"}, {0, "play"}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LumoraBgmTest, RepeatMp3RestartsOnlyWhenNotPlaying) {
  mci.answers["status MP3Play mode"] = {0, "playing"};
  bgm.RepeatMp3();
  EXPECT_EQ(mci.Commands(), (std::vector<std::string>{"status MP3Play mode"}));

  mci.calls.clear();
  mci.answers["status MP3Play mode"] = {0, "stopped"};
  bgm.RepeatMp3();
  EXPECT_EQ(mci.calls, (std::vector<Call>{Send("status MP3Play mode", 30), Send("stop MP3Play", 0),
                                          Send("play MP3Play from 0", 0)}));
}

TEST_F(LumoraBgmTest, WavLoopsOnlyWithAnOutputDevice) {
  saver::BgmFile = "/music/loop 1.wav";
  mci.deviceCount = 0;
  bgm.PlayWav();
  EXPECT_EQ(mci.calls, (std::vector<Call>{{"count", "", 0, 0}}));

  mci.calls.clear();
  mci.deviceCount = 2;
  bgm.PlayWav();
  bgm.StopWav();
  EXPECT_EQ(mci.calls, (std::vector<Call>{{"count", "", 0, 0},
                                          {"sound", "/music/loop 1.wav", 0, 9},
                                          {"sound", "<none>", 0, 0}}));
}

TEST_F(LumoraBgmTest, SendMciTurnsResultsIntoReplies) {
  std::string reply = "old";
  EXPECT_EQ(bgm.SendMci("", reply), -1);
  EXPECT_EQ(reply, "コマンド文字列が指定されていません");
  EXPECT_TRUE(mci.calls.empty());

  mci.answers["status cdaudio number of tracks"] = {0, "12"};
  EXPECT_EQ(bgm.SendMci("status cdaudio number of tracks", reply), 0);
  EXPECT_EQ(reply, "12");

  mci.answers["status nothing mode"] = {263, ""};
  mci.errorTexts[263] = "デバイスが開かれていません";
  EXPECT_EQ(bgm.SendMci("status nothing mode", reply), 263);
  EXPECT_EQ(reply, "デバイスが開かれていません");

  mci.answers["bogus cdaudio"] = {261, ""};
  EXPECT_EQ(bgm.SendMci("bogus cdaudio", reply), 261);
  EXPECT_EQ(reply, "Error (文字列が取れません)");

  EXPECT_EQ(mci.calls, (std::vector<Call>{Send("status cdaudio number of tracks", 512),
                                          Send("status nothing mode", 512),
                                          {"error", "263", 256, 0},
                                          Send("bogus cdaudio", 512),
                                          {"error", "261", 256, 0}}));
}

TEST_F(LumoraBgmTest, LongRepliesAreCutToTheirBuffers) {
  mci.answers["status cdaudio mode"] = {0, std::string(600, 'x')};
  std::string reply;
  EXPECT_EQ(bgm.SendMci("status cdaudio mode", reply), 0);
  EXPECT_EQ(reply, std::string(511, 'x'));

  mci.answers["bad cdaudio"] = {300, ""};
  mci.errorTexts[300] = std::string(400, 'e');
  bgm.SendMci("bad cdaudio", reply);
  EXPECT_EQ(reply, std::string(255, 'e'));
}

TEST_F(LumoraBgmTest, QueryMciGivesErrorAndCode) {
  EXPECT_EQ(bgm.QueryMci(""), "Error:-1");
  EXPECT_EQ(bgm.MciReply, "コマンド文字列が指定されていません");

  mci.answers["status cdaudio current track"] = {276, ""};
  mci.errorTexts[276] = "not ready";
  EXPECT_EQ(bgm.QueryMci("status cdaudio current track"), "Error:276");
  EXPECT_EQ(bgm.MciReply, "not ready");

  mci.answers["status cdaudio current track"] = {0, "7"};
  EXPECT_EQ(bgm.QueryMci("status cdaudio current track"), "7");
}

struct RangeCase {
  const char* from;
  const char* to;
  const char* command;
};

TEST_F(LumoraBgmTest, PlayRangeBuildsTheCommand) {
  const RangeCase cases[] = {
      {"", "", "play cdaudio"},
      {"03:00:00:00", "", "play cdaudio from 03:00:00:00"},
      {"", "04:00:00:00", "play cdaudio to 04:00:00:00"},
      {"1", "2", "play cdaudio from 1 to 2"},
  };
  for (const RangeCase& c : cases) {
    mci.calls.clear();
    mci.answers[c.command] = {282, ""};
    EXPECT_EQ(bgm.PlayRange("cdaudio", c.from, c.to), 282) << c.command;
    ASSERT_FALSE(mci.calls.empty());
    EXPECT_EQ(mci.calls.front(), Send(c.command, 512));
  }
}

// One PollCd tick against a drive that answers from the script.
struct TickCase {
  const char* name;
  std::int16_t repeat;
  RecordingMci::Answer current;
  RecordingMci::Answer tracks;
  RecordingMci::Answer mode;
  std::vector<std::string> sent;
  std::int16_t polling;
};

void PrintTo(const TickCase& c, std::ostream* os) { *os << c.name; }

class PollCdTest : public LumoraBgmTest, public ::testing::WithParamInterface<TickCase> {};

const std::string kCurrent = "status cdaudio current track";
const std::string kTracks = "status cdaudio number of tracks";
const std::string kMode = "status cdaudio mode";

TEST_P(PollCdTest, Tick) {
  const TickCase& c = GetParam();
  saver::BgmRepeat = c.repeat;
  mci.answers[kCurrent] = c.current;
  mci.answers[kTracks] = c.tracks;
  mci.answers[kMode] = c.mode;
  mci.answers["status cdaudio position track 3"] = {0, "03:00:00:00"};
  mci.answers["status cdaudio position track 9"] = {282, ""};
  mci.answers["play cdaudio from Error:282"] = {270, ""};
  bgm.PollCd();
  EXPECT_EQ(mci.Commands(), c.sent);
  EXPECT_EQ(bgm.CdPolling, c.polling);
  for (const Call& call : mci.calls) {
    if (call.what != "send") continue;
    EXPECT_EQ(call.capacity, call.text == kMode ? 255u : 512u) << call.text;
  }
}

const std::vector<std::string> kStatus = {kCurrent, kTracks, kMode};
std::vector<std::string> Then(std::vector<std::string> more) {
  std::vector<std::string> all = kStatus;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Drive, PollCdTest,
    ::testing::Values(
        TickCase{"RepeatTrackWhileAnotherPlays", 3, {0, "4"}, {0, "5"}, {0, "playing"},
                 Then({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}), kTrue},
        TickCase{"RepeatTrackPlaying", 3, {0, "3"}, {0, "5"}, {0, "playing"}, kStatus, kTrue},
        TickCase{"RepeatTrackBlanksAroundNumber", 3, {0, " 3 "}, {0, "5"}, {0, "playing"}, kStatus, kTrue},
        TickCase{"RepeatTrackStopped", 3, {0, "3"}, {0, "5"}, {0, "stopped"},
                 Then({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}), kTrue},
        TickCase{"StoppedWithMoreText", 3, {0, "3"}, {0, "5"}, {0, "stopped at end"},
                 Then({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}), kTrue},
        TickCase{"RepeatTrackPaused", 3, {0, "3"}, {0, "5"}, {0, "paused"}, kStatus, kTrue},
        TickCase{"RepeatTrackSeeking", 3, {0, "3"}, {0, "5"}, {0, "seeking"}, kStatus, kTrue},
        TickCase{"RepeatTrackNotReady", 3, {0, "3"}, {0, "5"}, {0, "not ready"}, kStatus, kTrue},
        TickCase{"WholeDiscStopped", 0, {0, "2"}, {0, "5"}, {0, "stopped"}, Then({"play cdaudio"}), kTrue},
        TickCase{"WholeDiscPlaying", 0, {0, "2"}, {0, "5"}, {0, "playing"}, kStatus, kTrue},
        TickCase{"WholeDiscModeNeverArrived", 0, {0, "2"}, {0, "5"}, {263, ""}, kStatus, kTrue},
        TickCase{"NoDisc", 0, {276, ""}, {0, "5"}, {0, "stopped"}, {kCurrent}, kFalse},
        TickCase{"ErrInReply", 3, {0, "error"}, {0, "5"}, {0, "stopped"}, {kCurrent}, kFalse},
        TickCase{"NoTracks", 3, {0, "1"}, {262, ""}, {0, "stopped"}, {kCurrent, kTracks}, kFalse},
        TickCase{"TrackNotANumber", 3, {0, "x1"}, {0, "5"}, {0, "playing"}, kStatus, kFalse},
        TickCase{"TrackNotANumberWhileStopped", 3, {0, "one"}, {0, "5"}, {0, "stopped"}, kStatus, kFalse},
        TickCase{"FailedPositionQuery", 9, {0, "1"}, {0, "5"}, {0, "playing"},
                 Then({"status cdaudio position track 9", "play cdaudio from Error:282"}), kTrue}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LumoraBgmTest, NoDiscEndsTheWatchOnTheFirstTick) {
  mci.answers[kCurrent] = {276, ""};
  bgm.OpenCd();
  bgm.PollCd();
  EXPECT_EQ(bgm.CdPolling, kFalse);
  EXPECT_EQ(mci.Commands(), (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf", kCurrent}));
}

}  // namespace
}  // namespace music::test
