// The cdaudio device on a CUE/BIN disc image made with sox: three audio
// tracks of distinct tones in 2352-byte sectors.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "tests/saver/music/audio_fixtures.h"
#include "saver/music/gst/gst_mci.h"
#include "saver/music/lumora_bgm.h"
#include "saver/music/mci_errors.h"
#include "saver/music/gst/mci_interpreter.h"
#include "saver/settings_vars.h"

namespace music::test {
namespace {

const int kTones[] = {300, 500, 700};
constexpr double kTrackSeconds = 2.0;  // 150 sectors each

class CdImage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    std::ofstream bin(dir_->File("disc.bin"), std::ios::binary);
    for (int i = 0; i < 3; ++i) {
      const std::string track = dir_->File("t" + std::to_string(i + 1) + ".raw");
      ASSERT_TRUE(MakeToneRaw(track, kTrackSeconds, kTones[i]));
      ASSERT_EQ(std::filesystem::file_size(track) % 2352, 0u);
      std::ifstream in(track, std::ios::binary);
      bin << in.rdbuf();
    }
    bin.close();
    std::ofstream(dir_->File("disc.cue")) << "FILE \"disc.bin\" BINARY\n"
                                             "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                             "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n"
                                             "  TRACK 03 AUDIO\n    INDEX 01 00:04:00\n";
  }
  static void TearDownTestSuite() { delete dir_; }

  std::string Reply(const std::string& command) {
    std::string reply;
    const std::uint32_t code = interpreter.Execute(command, reply);
    return code == 0 ? reply : "Error:" + std::to_string(code);
  }

  static TempDir* dir_;
  std::string capture_ = dir_->File(::testing::UnitTest::GetInstance()->current_test_info()->name());
  MciInterpreter interpreter{CaptureSink(capture_), dir_->File("disc.cue")};
};
TempDir* CdImage::dir_ = nullptr;

TEST_F(CdImage, ReportsTheTableOfContents) {
  ASSERT_EQ(Reply("open cdaudio"), "");
  struct Case {
    const char* command;
    const char* reply;
  } cases[] = {
      {"status cdaudio media present", "true"},
      {"status cdaudio number of tracks", "3"},
      {"status cdaudio current track", "1"},
      {"status cdaudio mode", "stopped"},
      {"status cdaudio time format", "msf"},
      {"status cdaudio position track 1", "00:02:00"},
      {"status cdaudio position track 3", "00:06:00"},
      {"status cdaudio length", "00:06:00"},
      {"set cdaudio time format tmsf", ""},
      {"status cdaudio position track 2", "02:00:00:00"},
      {"status cdaudio position track 3", "03:00:00:00"},
      {"status cdaudio position", "01:00:00:00"},
      {"status cdaudio length track 2", "00:02:00"},
      {"status cdaudio position track 4", "Error:282"},
      {"status cdaudio position track x", "Error:270"},
      {"set cdaudio time format milliseconds", ""},
      {"status cdaudio position track 2", "4000"},
      {"set cdaudio time format frames", "Error:293"},
      {"open cdaudio", "Error:265"},
      {"close cdaudio", ""},
      {"status cdaudio mode", "Error:263"},
  };
  for (const Case& c : cases) EXPECT_EQ(Reply(c.command), c.reply) << c.command;
}

TEST_F(CdImage, PlaysTheWholeDiscAndTellsTheTrack) {
  ASSERT_EQ(Reply("open cdaudio"), "");
  ASSERT_EQ(Reply("set cdaudio time format tmsf"), "");
  ASSERT_EQ(Reply("play cdaudio"), "");
  std::vector<std::string> tracks;
  ASSERT_TRUE(WaitUntil([&] {
    const std::string mode = Reply("status cdaudio mode");
    if (mode == "playing") {
      const std::string track = Reply("status cdaudio current track");
      if (tracks.empty() || tracks.back() != track) tracks.push_back(track);
    }
    return mode == "stopped";
  }, 30));
  EXPECT_EQ(tracks, (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Reply("status cdaudio current track"), "3");
  ASSERT_EQ(Reply("close cdaudio"), "");

  const auto disc = ReadRaw(dir_->File("disc.bin"));
  EXPECT_TRUE(ReadCapture(capture_) == disc) << "the captured sound differs from the disc";
}

TEST_F(CdImage, PlaysFromAndToPositions) {
  ASSERT_EQ(Reply("open cdaudio"), "");
  ASSERT_EQ(Reply("set cdaudio time format tmsf"), "");
  ASSERT_EQ(Reply("play cdaudio from 02:00:00:00 to 03:00:00:00"), "");
  EXPECT_EQ(Reply("status cdaudio mode"), "playing");
  ASSERT_TRUE(WaitUntil([&] { return Reply("status cdaudio mode") == "stopped"; }, 20));
  EXPECT_EQ(Reply("status cdaudio position"), "03:00:00:00");
  // A position that came from a failed query is refused and plays nothing.
  EXPECT_EQ(Reply("play cdaudio from Error:282"), "Error:270");
  EXPECT_EQ(Reply("status cdaudio mode"), "stopped");
  ASSERT_EQ(Reply("close cdaudio"), "");
  EXPECT_TRUE(ReadCapture(capture_) == ReadRaw(dir_->File("t2.raw"))) << "not exactly track 2";
}

TEST_F(CdImage, PlayAfterTheEndOfTheDiscStartsAgain) {
  ASSERT_EQ(Reply("open cdaudio"), "");
  ASSERT_EQ(Reply("set cdaudio time format tmsf"), "");
  ASSERT_EQ(Reply("play cdaudio from 03:00:01:50"), "");
  ASSERT_TRUE(WaitUntil([&] { return Reply("status cdaudio mode") == "stopped"; }, 20));
  EXPECT_EQ(Reply("status cdaudio position"), "03:00:02:00");
  ASSERT_EQ(Reply("play cdaudio"), "");
  EXPECT_EQ(Reply("status cdaudio mode"), "playing");
  EXPECT_EQ(Reply("status cdaudio current track"), "1");
  ASSERT_TRUE(WaitUntil([&] { return Reply("status cdaudio position") >= "01:00:00:30"; }, 20));
  ASSERT_EQ(Reply("close cdaudio"), "");
  // The new play opened the drive afresh, so its sound is the capture's
  // first part again.
  const auto played = ReadCaptureParts(capture_).at(0);
  const auto track1 = ReadRaw(dir_->File("t1.raw"));
  ASSERT_FALSE(played.empty());
  ASSERT_LE(played.size(), track1.size());
  EXPECT_TRUE(std::equal(played.begin(), played.end(), track1.begin()));
}

TEST_F(CdImage, RepeatedTrackGoesBackToItsStart) {
  GstMci mci(CaptureSink(capture_), dir_->File("disc.cue"));
  Lumora_BGM bgm(mci);
  saver::BgmRepeat = 2;
  bgm.OpenCd();
  // The run's 200 ms watch, for a little over two passes of track 2.
  for (int tick = 0; tick < 28; ++tick) {
    bgm.PollCd();
    ASSERT_EQ(bgm.CdPolling, Lumora_BGM::True);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  bgm.StopCd();
  saver::BgmRepeat = 0;

  // Every play starts at track 2's first sample; each but the last runs
  // through track 2 into the start of track 3, where the watch sends it back.
  const auto track2 = ReadRaw(dir_->File("t2.raw"));
  auto track2and3 = track2;
  const auto track3 = ReadRaw(dir_->File("t3.raw"));
  track2and3.insert(track2and3.end(), track3.begin(), track3.end());
  const auto parts = ReadCaptureParts(capture_);
  ASSERT_GE(parts.size(), 2u) << "track 2 was never played again";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const auto& part = parts[i];
    ASSERT_LE(part.size(), track2and3.size()) << "part " << i;
    EXPECT_TRUE(std::equal(part.begin(), part.end(), track2and3.begin())) << "part " << i;
    if (i + 1 < parts.size()) {
      EXPECT_GT(part.size(), track2.size()) << "part " << i << " left track 2 early";
    }
  }
}

TEST(CdWithoutDisc, EveryQueryFailsAsAnEmptyDrive) {
  TempDir dir;
  for (const std::string& drive : {std::string(), dir.File("no-such.cue"), dir.path().string()}) {
    GstMci mci("fakesink", drive);
    std::array<char, 64> reply{};
    EXPECT_EQ(mci.SendString("open cdaudio", reply), 0u) << drive;
    EXPECT_EQ(mci.SendString("set cdaudio time format tmsf", reply), 0u);
    for (const char* command : {"status cdaudio current track", "status cdaudio number of tracks",
                                "status cdaudio position track 1", "play cdaudio", "play cdaudio from 1"}) {
      EXPECT_EQ(mci.SendString(command, reply), Code(MciErr::DeviceNotReady)) << command;
    }
    EXPECT_EQ(mci.SendString("status cdaudio mode", reply), 0u);
    EXPECT_EQ(std::string(reply.data()), "not ready");
    EXPECT_EQ(mci.SendString("close cdaudio", reply), 0u);

    Lumora_BGM bgm(mci);
    bgm.OpenCd();
    bgm.PollCd();
    EXPECT_EQ(bgm.CdPolling, Lumora_BGM::False);
    bgm.StopCd();
  }
}

}  // namespace
}  // namespace music::test
