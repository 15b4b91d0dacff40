// MP3 files on a real playbin, captured to a file and compared with their source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/saver/music/audio_fixtures.h"
#include "saver/music/gst/gst_mci.h"
#include "saver/music/lumora_bgm.h"
#include "saver/music/gst/mci_interpreter.h"
#include "saver/settings_vars.h"

namespace music::test {
namespace {

constexpr double kToneSeconds = 2.0;
constexpr int kToneHertz = 440;

class Mp3Playback : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    std::filesystem::create_directories(dir_->path() / "with space" / "音楽");
    source_ = dir_->File("tone.wav");
    ASSERT_TRUE(MakeToneWav(source_, kToneSeconds, kToneHertz));
    mp3_ = (dir_->path() / "with space" / "音楽" / "夜の 曲.mp3").string();
    ASSERT_TRUE(WavToMp3(source_, mp3_));
  }
  static void TearDownTestSuite() { delete dir_; }

  static std::string Reply(MciInterpreter& mci, const std::string& command) {
    std::string reply;
    const std::uint32_t code = mci.Execute(command, reply);
    return code == 0 ? reply : "Error:" + std::to_string(code);
  }
  std::string Reply(const std::string& command) { return Reply(interpreter, command); }
  bool WaitForStop() {
    return WaitUntil([&] { return Reply("status MP3Play mode") == "stopped"; }, 20);
  }

  static TempDir* dir_;
  static std::string source_;
  static std::string mp3_;
  std::string capture_ = dir_->File(::testing::UnitTest::GetInstance()->current_test_info()->name());
  MciInterpreter interpreter{CaptureSink(capture_), std::string()};
};
TempDir* Mp3Playback::dir_ = nullptr;
std::string Mp3Playback::source_;
std::string Mp3Playback::mp3_;

TEST_F(Mp3Playback, DecodesToTheSoundOfItsSource) {
  ASSERT_EQ(Reply("open \"" + mp3_ + "\" type MPEGVideo Alias MP3Play"), "");
  EXPECT_EQ(Reply("status MP3Play mode"), "stopped");
  ASSERT_EQ(Reply("play MP3Play"), "");
  EXPECT_EQ(Reply("status MP3Play mode"), "playing");
  ASSERT_TRUE(WaitForStop());
  ASSERT_EQ(Reply("close MP3Play"), "");

  const std::vector<std::int16_t> source = ReadWavData(source_);
  const std::vector<std::int16_t> played = ReadCapture(capture_);
  ASSERT_FALSE(played.empty());
  // MP3 adds encoder delay and padding of a few milliseconds at most; its
  // loss keeps a pure tone's pitch and level.
  EXPECT_NEAR(Seconds(played), Seconds(source), 0.1);
  EXPECT_NEAR(ToneFrequency(played), ToneFrequency(source), 5.0);
  EXPECT_NEAR(Rms(played) / Rms(source), 1.0, 0.05);
}

TEST_F(Mp3Playback, RestartsFromZeroAfterItsEnd) {
  ASSERT_EQ(Reply("open \"" + mp3_ + "\" type MPEGVideo Alias MP3Play"), "");
  ASSERT_EQ(Reply("play MP3Play"), "");
  ASSERT_TRUE(WaitForStop());
  // Playing on from the end gives nothing more.
  EXPECT_EQ(Reply("play MP3Play"), "");
  EXPECT_EQ(Reply("status MP3Play mode"), "stopped");

  ASSERT_EQ(Reply("stop MP3Play"), "");
  ASSERT_EQ(Reply("play MP3Play from 0"), "");
  EXPECT_EQ(Reply("status MP3Play mode"), "playing");
  ASSERT_TRUE(WaitForStop());
  ASSERT_EQ(Reply("close MP3Play"), "");

  const std::vector<std::int16_t> played = ReadCapture(capture_);
  EXPECT_NEAR(Seconds(played), 2 * kToneSeconds, 0.2);
  const std::span<const std::int16_t> all(played);
  const auto second = all.subspan(all.size() / 2 + kRate / 2);  // away from the join
  EXPECT_NEAR(ToneFrequency(second), kToneHertz, 5.0);
  EXPECT_GT(Rms(second), 5000);
}

TEST_F(Mp3Playback, RepeatMp3KeepsTheFileGoing) {
  GstMci mci(CaptureSink(capture_), std::string());
  Lumora_BGM bgm(mci);
  saver::BgmFile = mp3_;
  bgm.PlayMp3();
  EXPECT_TRUE(bgm.IsMp3Playing());
  // Two ends of the file, each followed by the watch's restart.
  int restarts = 0;
  WaitUntil([&] {
    if (!bgm.IsMp3Playing()) {
      ++restarts;
      bgm.RepeatMp3();
      EXPECT_TRUE(bgm.IsMp3Playing());
    }
    return restarts == 2;
  }, 30);
  EXPECT_EQ(restarts, 2);
  bgm.StopMp3();
  saver::BgmFile.clear();
  EXPECT_NEAR(Seconds(ReadCapture(capture_)), 2 * kToneSeconds, 0.6);
}

TEST_F(Mp3Playback, OpensPathsWithSpacesAndJapanese) {
  const std::filesystem::path folder = dir_->path() / "names";
  std::filesystem::create_directories(folder);
  for (const char* name : {"plain.mp3", "with two  spaces.MP3", "日本語の 名前.mp3", "ｶﾀｶﾅ.mp3"}) {
    const std::string path = (folder / name).string();
    std::filesystem::copy_file(mp3_, path);
    ASSERT_EQ(Reply("open \"" + path + "\" type MPEGVideo Alias MP3Play"), "") << name;
    const std::string length = Reply("status MP3Play length");
    ASSERT_TRUE(!length.empty() && length.find_first_not_of("0123456789") == std::string::npos) << length;
    EXPECT_NEAR(std::stod(length), kToneSeconds * 1000, 100) << name;
    ASSERT_EQ(Reply("close MP3Play"), "") << name;
  }
}

// A `to` limit holds for its own play only; the next play runs to the end.
TEST_F(Mp3Playback, LimitOfOnePlayDoesNotOutliveIt) {
  struct Case {
    const char* name;
    const char* next;
  } cases[] = {{"from", "play MP3Play from 0"}, {"on", "play MP3Play"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.next);
    MciInterpreter player{CaptureSink(capture_ + "-" + c.name), std::string()};
    auto stopped = [&] { return Reply(player, "status MP3Play mode") == "stopped"; };
    ASSERT_EQ(Reply(player, "open \"" + mp3_ + "\" type MPEGVideo Alias MP3Play"), "");
    ASSERT_EQ(Reply(player, "play MP3Play from 0 to 500"), "");
    ASSERT_TRUE(WaitUntil(stopped, 20));
    ASSERT_EQ(Reply(player, c.next), "");
    EXPECT_EQ(Reply(player, "status MP3Play mode"), "playing");
    ASSERT_TRUE(WaitUntil(stopped, 20));
    const std::string position = Reply(player, "status MP3Play position");
    ASSERT_EQ(position.find_first_not_of("0123456789"), std::string::npos) << position;
    EXPECT_NEAR(std::stod(position), kToneSeconds * 1000, 100);
  }
}

// The capture folder vanishes under the sink: its next file cannot be made,
// and the pipeline reports an error. Once the folder is back, a play from 0
// plays the whole file again.
TEST_F(Mp3Playback, PlaysAgainAfterAnError) {
  const std::filesystem::path folder = dir_->path() / "gone";
  std::filesystem::create_directories(folder);
  MciInterpreter player{CaptureSink((folder / "part").string()), std::string()};
  ASSERT_EQ(Reply(player, "open \"" + mp3_ + "\" type MPEGVideo Alias MP3Play"), "");
  std::filesystem::remove_all(folder);
  ASSERT_EQ(Reply(player, "play MP3Play"), "");
  ASSERT_TRUE(WaitUntil([&] { return Reply(player, "status MP3Play mode") == "stopped"; }, 20));

  std::filesystem::create_directories(folder);
  ASSERT_EQ(Reply(player, "play MP3Play from 0"), "");
  EXPECT_EQ(Reply(player, "status MP3Play mode"), "playing");
  ASSERT_TRUE(WaitUntil([&] { return Reply(player, "status MP3Play mode") == "stopped"; }, 20));
  ASSERT_EQ(Reply(player, "close MP3Play"), "");

  std::vector<std::int16_t> played;
  std::vector<std::filesystem::path> parts(std::filesystem::directory_iterator(folder), {});
  std::sort(parts.begin(), parts.end());
  for (const auto& part : parts) {
    const auto samples = ReadRaw(part.string());
    played.insert(played.end(), samples.begin(), samples.end());
  }
  EXPECT_NEAR(Seconds(played), kToneSeconds, 0.1);
  EXPECT_NEAR(ToneFrequency(played), kToneHertz, 5.0);
}

}  // namespace
}  // namespace music::test
